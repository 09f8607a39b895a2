#pragma once
// The game's one window over Qt: menu bar, canvas, icons, message boxes.
// Every event that reaches the game goes through dispatch(), which runs game
// code one call at a time.

#include <QMainWindow>

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "Language.h"
#include "platform/Window.h"

class QAction;
class QLabel;
class QListWidget;
class QMenu;

namespace daro {
class Form1;
}

namespace daro::qt {

class Canvas;
class NetWindow;
class Guide;
class Preferences;

class MainWindow : public QMainWindow, public daro::Window {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The game whose handlers the window calls; set once, before load().
    void attach(Form1& form);
    // The window's load event: Form_Load, once.
    void load();
    // What ending the program does; by default the process exits at once.
    void setExitAction(std::function<void()> action) { exitAction_ = std::move(action); }

    // Runs game code now, or after the game code that is running has
    // returned to the event loop. Nothing runs once the program has ended.
    void dispatch(std::function<void(Form1&)> call);
    bool hasEnded() const { return ended_; }
    // Esc (or else the close of the window) while the game waits: ends the
    // program at once, the one input a wait lets through.
    void leaveDuringWait(bool byEscape);
    // The game's timeline has run out: the screen catches up and held calls run.
    void gameIdle();

    // The language of menus, boxes and labels; a choice from the menu is
    // kept in `preferences` (may be null: not kept).
    void setPreferences(Preferences* preferences) { preferences_ = preferences; }
    bool useLanguage(const QString& code);
    const QString& language() const { return language_.current(); }
    // The guide to the rules and the pieces (その他 → 遊び方, F1).
    void showGuide();
    Guide* guide() const { return guide_; }

    Canvas* canvas() const { return canvas_; }
    QAction* menuItem(const QString& controlName) const;
    QLabel* icon(const QString& controlName) const;

    // ---- daro::Window
    void paintPicture(int pictureCode, double xTwips, double yTwips) override;
    void drawRectangle(double x1, double y1, double x2, double y2, int qbColor) override;
    void fillRectangle(double x1, double y1, double x2, double y2, int qbColor) override;
    void printText(double xTwips, double yTwips, const std::string& utf8Text, double sizePoints, bool bold,
                   int qbColor) override;
    void refresh() override;
    void setBackColor(int qbColor) override;
    void setChecked(const std::string& controlName, bool checked) override;
    bool isChecked(const std::string& controlName) const override;
    void setItemVisible(const std::string& controlName, bool visible) override;
    bool keepsFact(const std::string& fact) const override;
    void keepFact(const std::string& fact) override;
    void setIconPosition(const std::string& controlName, int leftTwips, int topTwips) override;
    void setIconVisible(const std::string& controlName, bool visible) override;
    BoxAnswer messageBox(const std::string& text, const std::string& title, BoxButtons buttons,
                         BoxIcon icon) override;
    int windowTop() const override;
    void placeWindow(int leftTwips, int topTwips, int widthTwips, int heightTwips) override;
    std::int32_t nativeHandle() const override { return 1; }
    void endProgram() override;
    std::string chooseFileToSave(const std::string& title) override;
    std::string chooseFileToOpen(const std::string& title) override;

    static QColor qbColor(int index);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    // The first show offers the game left unfinished last time.
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    void buildLanguageMenu(QMenu* option);
    void retranslate();
    void chooseLanguage(const QString& code);
    void redrawTexts();
    void buildIcons();
    void drawIcons(qreal ratio);
    void placeIcons();
    // The new options, the level and the size are kept in our own settings.
    void remember(const std::string& name, bool checked);
    // 棋譜: one line per event of the game; a click shows that position.
    void showMoveList();
    void refreshMoveList();
    void runDeferred();
    void offerLastGameOnceExposed(int tries);

    Language language_;
    Canvas* canvas_;
    Form1* form_ = nullptr;
    NetWindow* netWindow_ = nullptr;
    Preferences* preferences_ = nullptr;
    Guide* guide_ = nullptr;
    int lastNumberPrinted_ = 0;
    bool redrawPending_ = false;
    std::function<void()> exitAction_;
    std::map<std::string, QAction*> items_;
    std::map<std::string, bool> marks_;  // the check marks, as the game set them
    std::map<std::string, QLabel*> icons_;
    std::map<std::string, QPoint> iconTwips_;
    QListWidget* moveList_ = nullptr;
    std::deque<std::function<void(Form1&)>> deferred_;
    bool busy_ = false;
    bool ended_ = false;
    bool loaded_ = false;
    bool closeRequested_ = false;
    bool lastGameOffered_ = false;
    std::set<std::string> facts_;  // without our settings: for this run
};

}  // namespace daro::qt
