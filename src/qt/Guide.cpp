#include "Guide.h"

#include <algorithm>

#include <QApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QPushButton>
#include <QPainter>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "Artwork.h"
#include "Form1.h"
#include "table/Table.h"

namespace daro::qt {
namespace {

const guide::Example& exampleOf(int kind) {
    for (const guide::Example& e : guide::examples)
        if (e.kind == kind) return e;
    return guide::examples.front();
}

// The name of each kind, and what the guide says of it.
struct KindText {
    const char* name;
    const char* moves;
};

const KindText kKinds[10] = {
    {QT_TRANSLATE_NOOP("Guide", "行"),
     QT_TRANSLATE_NOOP("Guide", "八方向に何桝でも、空いた桝へだけ進みます。駒は取れず、取られることもありません。")},
    {QT_TRANSLATE_NOOP("Guide", "刀"), QT_TRANSLATE_NOOP("Guide", "斜めに一桝進みます。")},
    {QT_TRANSLATE_NOOP("Guide", "剣"), QT_TRANSLATE_NOOP("Guide", "縦か横に一桝進みます。")},
    {QT_TRANSLATE_NOOP("Guide", "弩"), QT_TRANSLATE_NOOP("Guide", "八方向に五桝まで進みます。")},
    {QT_TRANSLATE_NOOP("Guide", "騎"),
     QT_TRANSLATE_NOOP("Guide", "空いた隣の桝へ一歩出て、そこから斜めに滑り、四桝離れた輪の上に着きます。"
                                "途中に駒があると通れません。")},
    {QT_TRANSLATE_NOOP("Guide", "弓"), QT_TRANSLATE_NOOP("Guide", "八方向に四桝まで進みます。")},
    {QT_TRANSLATE_NOOP("Guide", "砲"),
     QT_TRANSLATE_NOOP("Guide", "縦横に何桝でも、空いた桝へ進みます。駒を取るときは、間にあるちょうど一つの駒"
                                "(どの国の駒でも)を飛び越えます。")},
    {QT_TRANSLATE_NOOP("Guide", "偏"), QT_TRANSLATE_NOOP("Guide", "斜めに何桝でも進みます。")},
    {QT_TRANSLATE_NOOP("Guide", "裨"), QT_TRANSLATE_NOOP("Guide", "縦か横に何桝でも進みます。")},
    {QT_TRANSLATE_NOOP("Guide", "王"),
     QT_TRANSLATE_NOOP("Guide", "八方向に何桝でも進みます。駒の面には国の名が書いてあります。ほかの国の駒や周が"
                                "利いている桝へは動けません。図の×の桝は、斉の剣が利いているので王は行けません。")},
};

QString guideText(const char* source) { return QCoreApplication::translate("Guide", source); }

QString paragraph(const char* source) { return QStringLiteral("<p>") + guideText(source).toHtmlEscaped() + QStringLiteral("</p>"); }

QString heading(const char* source) {
    return QStringLiteral("<h2>") + guideText(source).toHtmlEscaped() + QStringLiteral("</h2>");
}

}  // namespace

QColor Guide::moveMark() { return QColor(0, 160, 60); }
QColor Guide::captureMark() { return QColor(230, 0, 0); }
QColor Guide::refusedMark() { return QColor(90, 0, 140); }

QImage Guide::diagram(int kind, qreal ratio) {
    const guide::Example& example = exampleOf(kind);
    Table rules;
    guide::setUp(rules, example);
    std::vector<guide::Square> reach = guide::reachOf(rules, example.x, example.y);
    // A king is marked only where its move is accepted; the squares the king
    // rule refuses get a cross of their own.
    const std::vector<guide::Square> refused = guide::kingRuleRefuses(rules, example.x, example.y);
    std::erase_if(reach, [&](const guide::Square& s) { return std::find(refused.begin(), refused.end(), s) != refused.end(); });

    const int n = guide::smallBoardSize;
    const int side = 2 * borderPixels + n * squarePixels;
    QImage image(QSize(side, side) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(QColor(40, 90, 40));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QSize square = QSize(squarePixels, squarePixels) * ratio;
    const QImage empty = art::render(QStringLiteral("KARA_MASU"), square);
    auto cell = [](int x, int y) {
        return QRectF(borderPixels + (x - 1) * squarePixels, borderPixels + (y - 1) * squarePixels, squarePixels,
                      squarePixels);
    };
    for (int x = 1; x <= n; ++x)
        for (int y = 1; y <= n; ++y) {
            const QRectF r = cell(x, y);
            const int code = rules.board[x][y];
            const std::string name = Form1::pictureControlName(code == Codes::emptyCode ? Codes::emptyCode : code);
            p.drawImage(r, code == Codes::emptyCode ? empty : art::render(QString::fromStdString(name), square));
            p.setPen(QPen(QColor(0, 128, 0), 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r);
        }
    for (const guide::Square& s : reach) {
        const QRectF r = cell(s.x, s.y);
        if (rules.board[s.x][s.y] == Codes::emptyCode) {
            p.setPen(Qt::NoPen);
            p.setBrush(moveMark());
            p.drawEllipse(r.center(), squarePixels * 0.2, squarePixels * 0.2);
        } else {
            p.setPen(QPen(captureMark(), 3));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.adjusted(2.5, 2.5, -2.5, -2.5));
        }
    }
    for (const guide::Square& s : refused) {
        const QRectF r = cell(s.x, s.y).adjusted(8, 8, -8, -8);
        p.setPen(QPen(refusedMark(), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(r.topLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomLeft());
    }
    // The piece that moves.
    p.setPen(QPen(QColor(255, 200, 0), 3));
    p.setBrush(Qt::NoBrush);
    p.drawRect(cell(example.x, example.y).adjusted(2.5, 2.5, -2.5, -2.5));
    p.end();
    return image;
}

Guide::Guide(QWidget* parent) : QDialog(parent), text_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("GUIDE"));
    text_->setOpenLinks(false);
    QFont font = text_->font();
    font.setFamilies({font.family(), QStringLiteral("IPAPMincho")});
    text_->setFont(font);
    // A button of our own: Qt's standard one words itself anew in the
    // system's language at every change of language.
    auto* buttons = new QDialogButtonBox(this);
    close_ = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(buttons);
    resize(720, 640);
    fill();
}

void Guide::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) fill();
    QDialog::changeEvent(event);
}

void Guide::fill() {
    setWindowTitle(guideText(QT_TRANSLATE_NOOP("Guide", "遊び方")));
    close_->setText(guideText(QT_TRANSLATE_NOOP("Guide", "閉じる")));
    const qreal ratio = devicePixelRatioF();
    QTextDocument* document = text_->document();
    QString html;
    html += heading(QT_TRANSLATE_NOOP("Guide", "目的と三つの勝ち方"));
    html += paragraph(QT_TRANSLATE_NOOP("Guide", "七つの国、秦・楚・韓・斉・魏・趙・燕が 19 × 19 の盤を囲み、順に一手ずつ指します。"
                                                 "取った駒は盤から消えます。次のどれかを最初に果たした国の勝ちです。"));
    html += QStringLiteral("<ul>");
    for (const char* win : {QT_TRANSLATE_NOOP("Guide", "王を二つ取る"), QT_TRANSLATE_NOOP("Guide", "駒を三十取る"),
                            QT_TRANSLATE_NOOP("Guide", "駒を十九取り、その中に王が一つある")})
        html += QStringLiteral("<li>") + guideText(win).toHtmlEscaped() + QStringLiteral("</li>");
    html += QStringLiteral("</ul>");
    html += paragraph(QT_TRANSLATE_NOOP("Guide", "ほかの国がみな盤から去ったときも、残った国の勝ちです。一人で遊ぶときは、"
                                                 "あなたの国が離脱するか駒をすべて失うと負けです。どの国も動けないまま一巡すると、"
                                                 "勝ち負けなしで終わります。"));
    html += paragraph(QT_TRANSLATE_NOOP("Guide", "盤の横には、それぞれの国が取った駒の数と、そのうちの王の数が出ます"
                                                 "(「ｵﾌﾟｼｮﾝ」→「持駒数表示」)。"));

    html += heading(QT_TRANSLATE_NOOP("Guide", "手番と離脱"));
    html += paragraph(QT_TRANSLATE_NOOP("Guide", "秦・楚・韓・斉・魏・趙・燕の順に指し、燕の次はまた秦です。"
                                                 "「対局」→「1_PLAY」で国を選ぶと、あなたがその国を、コンピュータがほかの六国を指します。"
                                                 "「7_PLAY」では七人が一つのマウスで順に指します。「自由対局...」では、国ごとに人間かコンピュータ"
                                                 "(レベルも国ごと)を選べます。"));
    html += paragraph(QT_TRANSLATE_NOOP("Guide", "自分の駒をクリックし、次に行き先の桝をクリックします。「移動指導」がオンなら、"
                                                 "行ける桝が白い枠で示されます。「戻」と「進」で一手ずつ戻り、進みます。"));
    html += paragraph(QT_TRANSLATE_NOOP("Guide", "王を取られた国は、次に番が来たとき点滅して盤から去ります(離脱)。去った駒は"
                                                 "誰の取り駒にもなりません。コンピュータの国は、駒が十以下になったときにも離脱します。"
                                                 "指せる手のない国はパスします。"));

    html += heading(QT_TRANSLATE_NOOP("Guide", "中央の駒「周」"));
    document->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("guide:centre")),
                          art::render(QStringLiteral("SYU"), QSize(squarePixels, squarePixels) * ratio));
    html += QStringLiteral("<p><img src=\"guide:centre\" width=\"%1\" height=\"%1\"> ").arg(squarePixels) +
            guideText(QT_TRANSLATE_NOOP("Guide", "盤の真ん中の周はどの国のものでもありません。動かず、取られず、"
                                          "その桝には誰も入れません。砲はこれを飛び越えて駒を取れます。"))
                .toHtmlEscaped() +
            QStringLiteral("</p>");

    html += heading(QT_TRANSLATE_NOOP("Guide", "駒の動き"));
    html += paragraph(QT_TRANSLATE_NOOP("Guide", "どの駒も、行く手に駒があればその手前で止まります。それがほかの国の駒なら"
                                                 "取ることもできます(行と周は取れません)。図は小さな盤の上の例です。"
                                                 "緑の点は進める桝、赤い枠は取れる駒です。"));
    for (const guide::Example& e : guide::examples) {
        const KindText& k = kKinds[e.kind];
        const QString url = QStringLiteral("guide:kind%1").arg(e.kind);
        document->addResource(QTextDocument::ImageResource, QUrl(url), diagram(e.kind, ratio));
        const int side = 2 * borderPixels + guide::smallBoardSize * squarePixels;
        html += QStringLiteral("<h3>") + guideText(k.name).toHtmlEscaped() + QStringLiteral("</h3>");
        html += QStringLiteral("<table><tr><td><img src=\"%1\" width=\"%2\" height=\"%2\"></td>"
                               "<td style=\"padding-left: 12px\">%3</td></tr></table>")
                    .arg(url)
                    .arg(side)
                    .arg(guideText(k.moves).toHtmlEscaped());
    }
    text_->setHtml(html);
}

}  // namespace daro::qt
