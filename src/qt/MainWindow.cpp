#include "MainWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QScrollBar>
#include <QTimer>
#include <QWindow>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "Artwork.h"
#include "Canvas.h"
#include "FreeSeatsDialog.h"
#include "NetWindow.h"
#include "Form1.h"
#include "Guide.h"
#include "Phrasebook.h"
#include "Preferences.h"

namespace daro::qt {
namespace {

using Click = void (Form1::*)();

QString text(const std::string& utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }

// Properties of a menu item: its Japanese caption and the note that tells
// two alike captions apart.
const char* const kSource = "daroSource";
const char* const kNote = "daroNote";

const char* const iconNames[] = {
    "ICO_MAN_GI", "ICO_COM_GI", "ICO_MAN_EN", "ICO_COM_EN", "ICO_MAN_SAI", "ICO_COM_SAI", "ICO_MAN_CHO",
    "ICO_COM_CHO", "ICO_MAN_SOU", "ICO_COM_SOU", "ICO_MAN_TEI", "ICO_COM_TEI", "ICO_MAN_KAN", "ICO_COM_KAN",
};

// The move list's words in the window's language. The game words its lines
// in Japanese; another language builds them from the event they tell of.
QString kingdomWord(int seat) {
    if (seat < 1 || seat > Codes::seatCount) return QString();
    return QCoreApplication::translate("Game", Codes::kingdomName(seat).c_str(), "kingdom");
}

QString kindWord(int code) { return QCoreApplication::translate("Guide", Codes::kindName(code)); }

QString squareWord(int x, int y) {
    return QCoreApplication::translate("MoveList", "%1%2", "a square: %1 the column's number, %2 the row's numeral")
        .arg(20 - x)
        .arg(QCoreApplication::translate("Game", Codes::rowLabel(y), "row label"));
}

QString moveListText(const Form1::MoveListLine& line) {
    if (!phrasebook::translating()) return text(line.text);
    const RecordEvent& e = line.event;
    switch (e.kind) {
    case EventKind::Out:
        return QCoreApplication::translate("MoveList", "  %1 脱落", "a kingdom drops out: %1 the kingdom")
            .arg(kingdomWord(e.seat));
    case EventKind::Pass:
        return QCoreApplication::translate("MoveList", "  %1 パス", "a kingdom passes: %1 the kingdom")
            .arg(kingdomWord(e.seat));
    case EventKind::Move: break;
    default: return text(line.text);
    }
    QString move = QCoreApplication::translate("MoveList", "%1 %2 %3 %4→%5",
                                               "a move: %1 its number, %2 the kingdom, %3 the piece, %4 from, %5 to")
                       .arg(line.entry)
                       .arg(kingdomWord(e.seat), kindWord(e.piece), squareWord(e.fromX, e.fromY),
                            squareWord(e.toX, e.toY));
    if (e.captured != Codes::emptyCode)
        move += QCoreApplication::translate("MoveList", " ×%1%2", "after a move: %1 the kingdom, %2 the piece it took")
                    .arg(kingdomWord(Codes::seatOfBlock(Codes::blockOfCode(e.captured))), kindWord(e.captured));
    return move;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), canvas_(new Canvas(this)) {
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho"));
    // Japanese in the menus and boxes comes from the board's own face, so no
    // second Japanese font (megabytes of it) is loaded as a fallback.
    for (const char* widgetClass : {"QMenuBar", "QMenu", "QMessageBox"}) {
        QFont ui = QApplication::font(widgetClass);
        ui.setFamilies({ui.family(), QStringLiteral("IPAPMincho")});
        QApplication::setFont(ui, widgetClass);
    }
    setWindowTitle(QStringLiteral("ZT daro"));
    setCentralWidget(canvas_);
    buildMenus();
    buildIcons();
    // A resized window shows the same game at its new size, drawn anew.
    connect(canvas_, &Canvas::rescaled, this, [this] {
        placeIcons();
        if (loaded_) dispatch([](Form1& f) { f.redrawWhole(); });
    });
    connect(canvas_, &Canvas::mousePressed, this, [this](int button, int shift, double x, double y) {
        dispatch([=](Form1& f) { f.Form_MouseDown(button, shift, x, y); });
    });
    canvas_->setFocus();
    // The classic size to start with; the player may resize it from there.
    resize(sizeHint());
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    // Each caption keeps its Japanese source (and the note that tells two
    // alike apart) for retranslate().
    auto menu = [](QWidget* parent, const char* name, const char* caption, const char* note = "") {
        QMenu* m = new QMenu(QString::fromUtf8(caption), parent);
        m->setObjectName(QLatin1String(name));
        m->menuAction()->setObjectName(QLatin1String(name));
        m->menuAction()->setProperty(kSource, QByteArray(caption));
        m->menuAction()->setProperty(kNote, QByteArray(note));
        if (auto* bar = qobject_cast<QMenuBar*>(parent)) bar->addMenu(m);
        else static_cast<QMenu*>(parent)->addMenu(m);
        return m;
    };
    auto item = [this](QWidget* parent, const char* name, const char* caption, Click click, bool checkable,
                       bool checked = false) {
        QAction* a = new QAction(QString::fromUtf8(caption), parent);
        a->setObjectName(QLatin1String(name));
        a->setProperty(kSource, QByteArray(caption));
        a->setCheckable(checkable);
        a->setChecked(checked);
        parent->addAction(a);
        items_[name] = a;
        marks_[name] = checked;
        connect(a, &QAction::triggered, this, [this, a, name = std::string(name), click] {
            // The game decides every check mark: undo Qt's own toggle.
            if (a->isCheckable()) a->setChecked(marks_[name]);
            dispatch([click](Form1& f) { (f.*click)(); });
        });
        return a;
    };

    QMenu* taikyoku = menu(bar, "TAIKYOKU", QT_TRANSLATE_NOOP("Menu", "対局"));
    static const struct {
        const char* source;
        const char* comment;
    } kinds = QT_TRANSLATE_NOOP3("Menu", "対局", "the submenu of the kinds of game");
    QMenu* kind = menu(taikyoku, "TAIKYOKU_SYURUI", kinds.source, kinds.comment);
    QMenu* onePlayer = menu(kind, "PLAY_1", QT_TRANSLATE_NOOP("Menu", "1_PLAY"));
    item(onePlayer, "JYUNBAN_1", QT_TRANSLATE_NOOP("Menu", "１番目(秦)"), &Form1::JYUNBAN_1_Click, false);
    item(onePlayer, "JYUNBAN_2", QT_TRANSLATE_NOOP("Menu", "2番目(楚)"), &Form1::JYUNBAN_2_Click, false);
    item(onePlayer, "JYUNBAN_3", QT_TRANSLATE_NOOP("Menu", "3番目(韓)"), &Form1::JYUNBAN_3_Click, false);
    item(onePlayer, "JYUNBAN_4", QT_TRANSLATE_NOOP("Menu", "4番目(斉)"), &Form1::JYUNBAN_4_Click, false);
    item(onePlayer, "JYUNBAN_5", QT_TRANSLATE_NOOP("Menu", "5番目(魏)"), &Form1::JYUNBAN_5_Click, false);
    item(onePlayer, "JYUNBAN_6", QT_TRANSLATE_NOOP("Menu", "6番目(趙)"), &Form1::JYUNBAN_6_Click, false);
    item(onePlayer, "JYUNBAN_7", QT_TRANSLATE_NOOP("Menu", "7番目(燕)"), &Form1::JYUNBAN_7_Click, false);
    item(kind, "PLAY_7", QT_TRANSLATE_NOOP("Menu", "7_PLAY"), &Form1::PLAY_7_Click, false);
    // Any mix of humans and computers, chosen seat by seat.
    QAction* freePlay = new QAction(QString(), kind);
    freePlay->setObjectName(QLatin1String("FREE_PLAY"));
    freePlay->setProperty(kSource, QByteArray(QT_TRANSLATE_NOOP("Menu", "自由対局...")));
    kind->addAction(freePlay);
    items_["FREE_PLAY"] = freePlay;
    connect(freePlay, &QAction::triggered, this, [this] {
        if (!form_ || form_->busy()) return;
        const auto seats = FreeSeatsDialog::ask(form_->computerLevel, this);
        if (seats) dispatch([kinds = *seats](Form1& f) { f.seatFree(kinds); });
    });
    // A game at a server, in a panel of its own beside the board.
    QAction* netPlay = new QAction(QString(), kind);
    netPlay->setObjectName(QLatin1String("NET_PLAY"));
    netPlay->setProperty(kSource, QByteArray(QT_TRANSLATE_NOOP("Menu", "ネット対局...")));
    kind->addAction(netPlay);
    items_["NET_PLAY"] = netPlay;
    connect(netPlay, &QAction::triggered, this, [this] {
        if (!netWindow_)
            netWindow_ = new NetWindow([this](std::function<void(Form1&)> call) { dispatch(std::move(call)); }, this,
                                       preferences_);
        netWindow_->show();
        netWindow_->raise();
    });
    QMenu* level = menu(taikyoku, "LEVEL", QT_TRANSLATE_NOOP("Menu", "COM対局ﾚﾍﾞﾙ"));
    item(level, "LEVEL1", QT_TRANSLATE_NOOP("Menu", "LEVEL1"), &Form1::LEVEL1_Click, true);
    item(level, "LEVEL2", QT_TRANSLATE_NOOP("Menu", "LEVEL2"), &Form1::LEVEL2_Click, true);
    item(level, "LEVEL3", QT_TRANSLATE_NOOP("Menu", "LEVEL3"), &Form1::LEVEL3_Click, true);
    item(level, "LEVEL4", QT_TRANSLATE_NOOP("Menu", "LEVEL4"), &Form1::LEVEL4_Click, true);
    item(level, "LEVEL5", QT_TRANSLATE_NOOP("Menu", "LEVEL5"), &Form1::LEVEL5_Click, true);
    item(taikyoku, "SHINKI", QT_TRANSLATE_NOOP("Menu", "新しい対局"), &Form1::SHINKI_Click, false)
        ->setShortcut(QKeySequence::New);
    item(taikyoku, "OWARI", QT_TRANSLATE_NOOP("Menu", "終わり"), &Form1::OWARI_Click, false);

    QMenu* position = menu(bar, "STOP", QT_TRANSLATE_NOOP("Menu", "局面"));
    item(position, "CANCEL", QT_TRANSLATE_NOOP("Menu", "最初"), &Form1::CANCEL_Click, false)
        ->setShortcut(Qt::Key_Home);
    item(position, "SAVE", QT_TRANSLATE_NOOP("Menu", "保存..."), &Form1::SAVE_Click, false)
        ->setShortcut(QKeySequence::Save);
    item(position, "OPEN", QT_TRANSLATE_NOOP("Menu", "開く..."), &Form1::OPEN_Click, false)
        ->setShortcut(QKeySequence::Open);
    item(position, "ZENKAI", QT_TRANSLATE_NOOP("Menu", "前回の続き"), &Form1::ZENKAI_Click, false);
    item(position, "MATTA", QT_TRANSLATE_NOOP("Menu", "自分の番まで戻る"), &Form1::takeBackToHumanTurn, false)
        ->setShortcut(QKeySequence::Undo);
    QAction* moveList = new QAction(QString(), position);
    moveList->setObjectName(QStringLiteral("KIFU"));
    moveList->setProperty(kSource, QByteArray(QT_TRANSLATE_NOOP("Menu", "棋譜")));
    position->addAction(moveList);
    items_["KIFU"] = moveList;
    connect(moveList, &QAction::triggered, this, &MainWindow::showMoveList);

    item(bar, "REPLAY", QT_TRANSLATE_NOOP("Menu", "戻"), &Form1::REPLAY_Click, false)->setShortcut(Qt::Key_Left);
    item(bar, "AFTER", QT_TRANSLATE_NOOP("Menu", "進"), &Form1::AFTER_Click, false)->setShortcut(Qt::Key_Right);
    // Only while an earlier position is shown; hidden, its key is off too.
    QAction* now = item(bar, "GENZAI", QT_TRANSLATE_NOOP("Menu", "今の局面へ"), &Form1::GENZAI_Click, false);
    now->setShortcut(Qt::Key_End);
    now->setVisible(false);

    QMenu* option = menu(bar, "OPTION", QT_TRANSLATE_NOOP("Menu", "ｵﾌﾟｼｮﾝ"));
    item(option, "SIDOU", QT_TRANSLATE_NOOP("Menu", "移動指導"), &Form1::SIDOU_Click, true, true);
    item(option, "AICON", QT_TRANSLATE_NOOP("Menu", "ｱｲｺﾝ表示"), &Form1::AICON_Click, true);
    item(option, "mochikoma", QT_TRANSLATE_NOOP("Menu", "持駒数表示"), &Form1::mochikoma_Click, true);
    QMenu* background = menu(option, "HAIKEI_GA", QT_TRANSLATE_NOOP("Menu", "背景画"));
    item(background, "MIDORI", QT_TRANSLATE_NOOP("Menu", "緑"), &Form1::MIDORI_Click, true);
    item(background, "TATAMI", QT_TRANSLATE_NOOP("Menu", "畳"), &Form1::TATAMI_Click, true, true);
    item(background, "TAKE", QT_TRANSLATE_NOOP("Menu", "竹"), &Form1::TAKE_Click, true);
    item(background, "UCHU", QT_TRANSLATE_NOOP("Menu", "宇宙"), &Form1::UCHU_Click, true);
    item(background, "RENGA", QT_TRANSLATE_NOOP("Menu", "煉瓦"), &Form1::RENGA_Click, true);
    item(option, "BGM", QT_TRANSLATE_NOOP("Menu", "BGM"), &Form1::BGM_Click, true);
    // Beyond the classic options; kept in our own settings file.
    item(option, "KOUKAON_NASHI", QT_TRANSLATE_NOOP("Menu", "効果音なし"), &Form1::KOUKAON_NASHI_Click, true);
    item(option, "TE_HYOUJI", QT_TRANSLATE_NOOP("Menu", "手の表示"), &Form1::TE_HYOUJI_Click, true, true);
    item(option, "OUTE", QT_TRANSLATE_NOOP("Menu", "王手の表示"), &Form1::OUTE_Click, true, true);
    item(option, "TEBAN_OTO", QT_TRANSLATE_NOOP("Menu", "手番の音"), &Form1::TEBAN_OTO_Click, true, true);
    QMenu* pace = menu(option, "HAYASA", QT_TRANSLATE_NOOP("Menu", "速さ"));
    item(pace, "HAYASA_HYOUJUN", QT_TRANSLATE_NOOP("Menu", "標準"), &Form1::HAYASA_HYOUJUN_Click, true, true);
    item(pace, "HAYASA_HAYAI", QT_TRANSLATE_NOOP("Menu", "速い"), &Form1::HAYASA_HAYAI_Click, true);
    item(pace, "HAYASA_SAISOKU", QT_TRANSLATE_NOOP("Menu", "最速"), &Form1::HAYASA_SAISOKU_Click, true);
    buildLanguageMenu(option);

    QMenu* other = menu(bar, "SONOTA", QT_TRANSLATE_NOOP("Menu", "その他"));
    QAction* guide = new QAction(QString(), other);
    guide->setObjectName(QStringLiteral("ASOBIKATA"));
    guide->setProperty(kSource, QByteArray(QT_TRANSLATE_NOOP("Menu", "遊び方")));
    guide->setShortcut(QKeySequence::HelpContents);
    guide->setShortcutContext(Qt::ApplicationShortcut);
    other->addAction(guide);
    items_["ASOBIKATA"] = guide;
    connect(guide, &QAction::triggered, this, &MainWindow::showGuide);
    item(other, "HINT", QT_TRANSLATE_NOOP("Menu", "ヒント"), &Form1::HINT_Click, false)->setShortcut(Qt::Key_H);
    item(other, "VER", QT_TRANSLATE_NOOP("Menu", "ﾊﾞｰｼﾞｮﾝ情報"), &Form1::VER_Click, false);
    retranslate();
}

void MainWindow::buildLanguageMenu(QMenu* option) {
    // Named in both languages, so a player who reads neither caption of
    // the other items still finds it.
    QMenu* languages = new QMenu(QStringLiteral("言語 / Language"), option);
    languages->setObjectName(QStringLiteral("LANGUAGE"));
    languages->menuAction()->setObjectName(QStringLiteral("LANGUAGE"));
    option->addMenu(languages);
    auto* group = new QActionGroup(languages);
    for (const QString& code : Language::available()) {
        QAction* a = languages->addAction(Language::nameOf(code));
        a->setObjectName(QStringLiteral("LANGUAGE_") + code);
        a->setCheckable(true);
        a->setChecked(code == language_.current());
        a->setData(code);
        group->addAction(a);
        items_[a->objectName().toStdString()] = a;
        connect(a, &QAction::triggered, this, [this, code] { chooseLanguage(code); });
    }
}

void MainWindow::retranslate() {
    const QList<QAction*> all = findChildren<QAction*>();
    for (QAction* a : all) {
        const QByteArray source = a->property(kSource).toByteArray();
        if (source.isEmpty()) continue;
        const QByteArray note = a->property(kNote).toByteArray();
        a->setText(QCoreApplication::translate("Menu", source.constData(), note.isEmpty() ? nullptr : note.constData()));
    }
    for (QAction* a : all)
        if (a->objectName().startsWith(QLatin1String("LANGUAGE_")))
            a->setChecked(a->data().toString() == language_.current());
    if (moveList_) {
        moveList_->setWindowTitle(QCoreApplication::translate("Menu", "棋譜"));
        refreshMoveList();
    }
}

bool MainWindow::useLanguage(const QString& code) { return language_.use(code); }

void MainWindow::chooseLanguage(const QString& code) {
    if (!language_.use(code)) return;
    if (preferences_) preferences_->setValue(QStringLiteral("language"), code);
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        redrawTexts();
    }
    QMainWindow::changeEvent(event);
}

// The labels beside the board were printed in the language before; the
// game prints them again where it keeps them (the board is left as it is,
// a picked piece and its marks too). Labels reach a little into the cells
// next to their own, which are cleared first: a text printed twice is
// bolder at its edges, and a longer one leaves its end behind.
void MainWindow::redrawTexts() {
    if (!loaded_ || redrawPending_) return;
    redrawPending_ = true;
    canvas_->forgetPictures();
    dispatch([this](Form1& f) {
        redrawPending_ = false;
        for (int y = 0; y <= Form1::boardSize; ++y) f.描画_絵(f.backgroundCode, Form1::boardSize + 2, y);
        for (int x = -2; x <= 0; ++x) f.描画_絵(f.backgroundCode, x, 0);
        // The title's soft edges would darken too: the cells under it first.
        for (int x = Form1::boardSize + 3; x <= Form1::boardSize + 8; ++x)
            for (int y = 0; y <= 1; ++y) f.描画_絵(f.backgroundCode, x, y);
        f.描画_絵(Form1::titlePictureCode, 21.8, 0);
        // The coordinates as a whole redraw prints them: on their own, and
        // again with the capture counts ("19" reaches into a cell that is
        // not cleared between the two).
        f.描画_桝_数値();
        f.描画_持ち駒数(f.backgroundCode);
        if (f.gameMode == Form1::modeOnePlayer) {
            f.描画_絵(f.backgroundCode, -2, -1);
            f.描画_絵(f.backgroundCode, -1, -1);
            f.描画_レベル(f.computerLevel);
        }
        if (f.gameStarted == Form1::valueYes && f.moveNumber > 0) f.描画_手数(f.moveNumber, Form1::colorWhite);
        f.描画_手番表示();
    });
}

void MainWindow::showGuide() {
    if (!guide_) guide_ = new Guide(this);
    guide_->show();
    guide_->raise();
    guide_->activateWindow();
}

void MainWindow::buildIcons() {
    for (const char* name : iconNames) {
        const QString n = QLatin1String(name);
        auto* label = new QLabel(canvas_);
        label->setObjectName(n);
        label->setFixedSize(art::logicalSize(n));
        // Clicks on an icon belong to the board beneath it.
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->hide();
        icons_[name] = label;
    }
    drawIcons(canvas_->bufferRatio());
    connect(canvas_, &Canvas::ratioChanged, this, &MainWindow::drawIcons);
}

void MainWindow::drawIcons(qreal ratio) {
    const qreal screen = ratio / canvas_->scale();
    for (auto& [name, label] : icons_) {
        const QSize own = art::logicalSize(label->objectName());
        label->setFixedSize((QSizeF(own) * canvas_->scale()).toSize());
        QPixmap pixmap = QPixmap::fromImage(art::render(label->objectName(), own * ratio));
        pixmap.setDevicePixelRatio(screen);
        label->setPixmap(pixmap);
    }
}

void MainWindow::placeIcons() {
    for (auto& [name, place] : iconTwips_) {
        QLabel* label = icon(text(name));
        if (!label) continue;
        const QPointF at = canvas_->widgetAt(place.x(), place.y());
        label->move(int(std::ceil(at.x() - 1e-6)), int(std::ceil(at.y() - 1e-6)));
    }
}

void MainWindow::attach(Form1& form) { form_ = &form; }

namespace {

// What the window keeps beside the classic settings, with its default.
const std::pair<const char*, bool> kRememberedChecks[] = {
    {"TE_HYOUJI", true},       {"OUTE", true},          {"HAYASA_HYOUJUN", true}, {"HAYASA_HAYAI", false},
    {"HAYASA_SAISOKU", false}, {"KOUKAON_NASHI", false}, {"TEBAN_OTO", true},
};

// Where the facts the game keeps stand in our settings.
QString factKey(const std::string& fact) { return QStringLiteral("facts/") + QString::fromStdString(fact); }

}  // namespace

void MainWindow::load() {
    if (loaded_) return;
    loaded_ = true;
    if (preferences_) {
        for (auto [name, fallback] : kRememberedChecks)
            setChecked(name, preferences_->value(QLatin1String(name), fallback).toBool());
        const QSize size = preferences_->value(QStringLiteral("windowSize")).toSize();
        if (size.isValid()) resize(size.expandedTo(minimumSizeHint()));
    }
    // The level chosen last time, over the classic default. Read before the
    // game loads: loading checks LEVEL3, which is kept as a choice too.
    const int level = preferences_ ? preferences_->value(QStringLiteral("level"), 0).toInt() : 0;
    dispatch([](Form1& f) { f.Form_Load(); });
    static constexpr Click levels[] = {&Form1::LEVEL1_Click, &Form1::LEVEL2_Click, &Form1::LEVEL3_Click,
                                       &Form1::LEVEL4_Click, &Form1::LEVEL5_Click};
    if (level >= 1 && level <= Form1::levelFive) dispatch([click = levels[level - 1]](Form1& f) { (f.*click)(); });
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!loaded_ || lastGameOffered_) return;
    lastGameOffered_ = true;
    offerLastGameOnceExposed(0);
}

// The question stands over the window, never in its place: it waits until
// the window system shows the window (a few seconds at most).
void MainWindow::offerLastGameOnceExposed(int tries) {
    constexpr int pollMs = 50, mostTries = 60;
    const bool exposed = windowHandle() && windowHandle()->isExposed();
    if (!exposed && tries < mostTries) {
        QTimer::singleShot(pollMs, this, [this, tries] { offerLastGameOnceExposed(tries + 1); });
        return;
    }
    dispatch([](Form1& f) { f.offerLastGame(); });
}

void MainWindow::showMoveList() {
    if (!moveList_) {
        moveList_ = new QListWidget(this);
        moveList_->setObjectName(QStringLiteral("KIFU_LIST"));
        moveList_->setWindowFlag(Qt::Tool);
        moveList_->setWindowTitle(QCoreApplication::translate("Menu", "棋譜"));
        moveList_->resize(320, 480);
        connect(moveList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* line) {
            const int entry = line->data(Qt::UserRole).toInt();
            dispatch([entry](Form1& f) { f.showRecordPosition(entry); });
        });
        // The list follows the game as it is played, computers' moves too.
        auto* follow = new QTimer(moveList_);
        follow->setInterval(200);
        connect(follow, &QTimer::timeout, this, [this] {
            if (moveList_->isVisible()) refreshMoveList();
        });
        follow->start();
    }
    refreshMoveList();
    moveList_->show();
    moveList_->raise();
}

void MainWindow::refreshMoveList() {
    if (!moveList_ || !form_) return;
    const std::vector<Form1::MoveListLine> lines = form_->moveList();
    // Lines from the first that is no longer so are built anew: the game
    // went on, took another way after 戻, or speaks another language now.
    // Each line keeps the game's own words, which tell its event whole.
    constexpr int gameWords = Qt::UserRole + 1;
    const bool relabel = moveList_->property("language").toString() != language_.current();
    moveList_->setProperty("language", language_.current());
    int same = 0;
    while (!relabel && same < moveList_->count() && same < int(lines.size()) &&
           moveList_->item(same)->data(Qt::UserRole).toInt() == lines[std::size_t(same)].entry &&
           moveList_->item(same)->data(gameWords).toString() == text(lines[std::size_t(same)].text))
        ++same;
    const bool grew = same != moveList_->count() || same != int(lines.size());
    while (moveList_->count() > same) delete moveList_->takeItem(moveList_->count() - 1);
    for (std::size_t i = std::size_t(same); i < lines.size(); ++i) {
        auto* row = new QListWidgetItem(moveListText(lines[i]), moveList_);
        row->setData(Qt::UserRole, lines[i].entry);
        row->setData(gameWords, text(lines[i].text));
    }
    // The window is as wide as its longest line; it only grows, so it does
    // not jump about as the game goes on.
    if (grew || relabel) {
        const int wanted = moveList_->sizeHintForColumn(0) + 2 * moveList_->frameWidth() +
                           moveList_->verticalScrollBar()->sizeHint().width() + 8;
        if (wanted > moveList_->width()) moveList_->resize(wanted, moveList_->height());
    }
    // The line of the position shown is the current one.
    for (int i = moveList_->count() - 1; i >= 0; --i)
        if (moveList_->item(i)->data(Qt::UserRole).toInt() <= form_->moveNumber) {
            if (moveList_->currentRow() != i) moveList_->setCurrentRow(i);
            if (grew) moveList_->scrollToItem(moveList_->item(i));
            break;
        }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (loaded_ && preferences_) preferences_->setValue(QStringLiteral("windowSize"), size());
}

void MainWindow::remember(const std::string& name, bool checked) {
    if (!preferences_ || !loaded_) return;
    for (auto [remembered, fallback] : kRememberedChecks)
        if (name == remembered) preferences_->setValue(QLatin1String(remembered), checked);
    if (checked && name.size() == 6 && name.rfind("LEVEL", 0) == 0)
        preferences_->setValue(QStringLiteral("level"), name[5] - '0');
}

void MainWindow::dispatch(std::function<void(Form1&)> call) {
    if (ended_ || !form_) return;
    // While the game's waits and searches run, calls wait their turn.
    if (busy_ || form_->busy()) {
        deferred_.push_back(std::move(call));
        return;
    }
    busy_ = true;
    call(*form_);
    busy_ = false;
    if (ended_ || form_->busy()) return;
    gameIdle();
}

void MainWindow::gameIdle() {
    if (ended_ || busy_) return;
    // Control goes back to the event loop: the screen catches up.
    canvas_->presentLater();
    if (!deferred_.empty()) QTimer::singleShot(0, this, &MainWindow::runDeferred);
}

void MainWindow::leaveDuringWait(bool byEscape) {
    if (ended_ || !form_) return;
    // The game is waiting on a timer or a search; the way out is the one
    // thing that is not held back meanwhile.
    if (byEscape) {
        form_->Form_KeyPress(27);
        return;
    }
    form_->Form_Unload();
    if (!ended_) endProgram();
}

void MainWindow::runDeferred() {
    if (busy_) return;  // the end of the running call schedules us again
    while (!deferred_.empty() && !busy_ && !ended_ && !form_->busy()) {
        auto call = std::move(deferred_.front());
        deferred_.pop_front();
        dispatch(std::move(call));
    }
}

QAction* MainWindow::menuItem(const QString& controlName) const {
    auto it = items_.find(controlName.toStdString());
    return it == items_.end() ? nullptr : it->second;
}

QLabel* MainWindow::icon(const QString& controlName) const {
    auto it = icons_.find(controlName.toStdString());
    return it == icons_.end() ? nullptr : it->second;
}

QColor MainWindow::qbColor(int index) {
    static const QColor palette[16] = {
        {0, 0, 0},     {0, 0, 128},   {0, 128, 0},   {0, 128, 128},   {128, 0, 0},   {128, 0, 128},
        {128, 128, 0}, {192, 192, 192}, {128, 128, 128}, {0, 0, 255},  {0, 255, 0},   {0, 255, 255},
        {255, 0, 0},   {255, 0, 255}, {255, 255, 0}, {255, 255, 255},
    };
    return palette[index & 15];
}

void MainWindow::paintPicture(int pictureCode, double x, double y) {
    const std::string name = Form1::pictureControlName(pictureCode);
    if (!name.empty()) canvas_->paintPicture(text(name), x, y);
}

void MainWindow::drawRectangle(double x1, double y1, double x2, double y2, int color) {
    canvas_->drawRectangle(x1, y1, x2, y2, qbColor(color));
}

void MainWindow::fillRectangle(double x1, double y1, double x2, double y2, int color) {
    canvas_->fillRectangle(x1, y1, x2, y2, qbColor(color));
}

void MainWindow::printText(double x, double y, const std::string& utf8Text, double size, bool bold, int color) {
    QString shown = text(utf8Text);
    // The label after the move number agrees with the number printed before it.
    bool isNumber = false;
    const int number = shown.toInt(&isNumber);
    if (isNumber) lastNumberPrinted_ = number;
    shown = phrasebook::moveSuffix(shown, lastNumberPrinted_);
    canvas_->printText(x, y, shown, size, bold, qbColor(color));
}

void MainWindow::refresh() { canvas_->present(); }

// A new back colour wipes what was drawn, as a form's back colour does.
void MainWindow::setBackColor(int color) { canvas_->clear(qbColor(color)); }

void MainWindow::setChecked(const std::string& name, bool checked) {
    auto it = items_.find(name);
    if (it == items_.end()) return;
    marks_[name] = checked;
    it->second->setChecked(checked);
    remember(name, checked);
}

bool MainWindow::isChecked(const std::string& name) const {
    auto it = marks_.find(name);
    return it != marks_.end() && it->second;
}

void MainWindow::setItemVisible(const std::string& name, bool visible) {
    if (QAction* a = menuItem(text(name))) a->setVisible(visible);
}

bool MainWindow::keepsFact(const std::string& fact) const {
    if (preferences_) return preferences_->value(factKey(fact), false).toBool();
    return facts_.count(fact) != 0;
}

void MainWindow::keepFact(const std::string& fact) {
    facts_.insert(fact);
    if (preferences_) preferences_->setValue(factKey(fact), true);
}

void MainWindow::setIconPosition(const std::string& name, int left, int top) {
    if (!icon(text(name))) return;
    iconTwips_[name] = QPoint(left, top);
    placeIcons();
}

void MainWindow::setIconVisible(const std::string& name, bool visible) {
    if (QLabel* label = icon(text(name))) label->setVisible(visible);
}

namespace {

// A Yes/No question is answered by its buttons only: Esc and the close
// button of the frame do nothing, so a stray key cannot decide it (No ends
// the program).
class GameBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    bool onlyButtonsAnswer = false;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (onlyButtonsAnswer && event->matches(QKeySequence::Cancel)) return;
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        if (onlyButtonsAnswer) event->ignore();
        else QMessageBox::closeEvent(event);
    }
};

// Qt puts the program's name into a title left empty; a zero-width space
// is a title that shows nothing.
QString boxTitle(const std::string& title) {
    return title.empty() ? QStringLiteral("\u200B") : phrasebook::translate(text(title));
}

// Game files are offered by their ending first; any file may be chosen.
const QString kGameFileFilter = QStringLiteral("daro (*.daro);;* (*)");

}  // namespace

std::string MainWindow::chooseFileToSave(const std::string& title) {
    QFileDialog dialog(this, phrasebook::translate(text(title)), QString(), kGameFileFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("daro"));
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst().toStdString();
}

std::string MainWindow::chooseFileToOpen(const std::string& title) {
    QFileDialog dialog(this, phrasebook::translate(text(title)), QString(), kGameFileFilter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst().toStdString();
}

BoxAnswer MainWindow::messageBox(const std::string& message, const std::string& title, BoxButtons buttons,
                                 BoxIcon boxIcon) {
    const bool yesNo = buttons == BoxButtons::YesNo;
    // The box runs an event loop of its own: what was drawn is shown first.
    canvas_->presentLater();
    GameBox box(boxIcon == BoxIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, boxTitle(title),
                phrasebook::translate(text(message), text(title)), yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, this);
    box.setWindowModality(Qt::ApplicationModal);
    if (yesNo) {
        box.onlyButtonsAnswer = true;
        box.setDefaultButton(QMessageBox::Yes);
        box.setWindowFlag(Qt::WindowCloseButtonHint, false);
    }
    const int answer = box.exec();
    if (!yesNo) return BoxAnswer::Ok;
    return answer == QMessageBox::Yes ? BoxAnswer::Yes : BoxAnswer::No;
}

int MainWindow::windowTop() const { return pos().y() * Canvas::twipsPerPixel; }

void MainWindow::placeWindow(int left, int top, int, int) {
    // The size is the canvas' own; only the place is up to the game.
    move(int(std::floor(left / double(Canvas::twipsPerPixel))), int(std::floor(top / double(Canvas::twipsPerPixel))));
}

void MainWindow::endProgram() {
    ended_ = true;
    deferred_.clear();
    if (exitAction_) {
        exitAction_();
        return;
    }
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(0);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (ended_) {
        event->accept();
        return;
    }
    // Game code decides; the close itself is never cancelled.
    event->ignore();
    if (closeRequested_) return;
    closeRequested_ = true;
    dispatch([this](Form1& f) {
        f.Form_Unload();
        if (!ended_) endProgram();
    });
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    int code = 0;
    if (event->key() == Qt::Key_Escape) code = 27;
    else if (event->text().size() == 1 && event->text().at(0).unicode() < 128) code = event->text().at(0).unicode();
    if (code == 0) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    dispatch([code](Form1& f) { f.Form_KeyPress(code); });
}

}  // namespace daro::qt
