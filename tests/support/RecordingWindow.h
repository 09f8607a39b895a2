#pragma once
// A window that records every call in order, keeps check marks and icons,
// and answers message boxes from a script.

#include <deque>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Window.h"

namespace daro::test {

// Thrown by endProgram so that nothing after the end of the program runs.
struct ProgramEnded : std::runtime_error {
    ProgramEnded() : std::runtime_error("program ended") {}
};

struct WindowCall {
    enum class Kind { Picture, Rectangle, Fill, Text, Refresh, BackColor, Check, IconPosition, IconVisible, Box, Place, End };
    explicit WindowCall(Kind k) : kind(k) {}
    Kind kind;
    int code = 0;          // picture code, colour, or check/visible flag
    double x = 0, y = 0;   // twips (first corner for rectangles)
    double x2 = 0, y2 = 0; // second corner of a rectangle
    std::string text;      // text printed, control name, or box text
    std::string title;     // box title
    double size = 0;       // font size
    bool bold = false;
    BoxButtons buttons = BoxButtons::Ok;
    BoxIcon icon = BoxIcon::None;
};

struct ShownBox {
    std::string text;
    std::string title;
    BoxButtons buttons;
    BoxIcon icon;
};

class RecordingWindow : public Window {
public:
    void paintPicture(int pictureCode, double x, double y) override;
    void drawRectangle(double x1, double y1, double x2, double y2, int qbColor) override;
    void fillRectangle(double x1, double y1, double x2, double y2, int qbColor) override;
    void printText(double x, double y, const std::string& text, double size, bool bold, int qbColor) override;
    void refresh() override;
    void setBackColor(int qbColor) override;
    void setChecked(const std::string& name, bool checked) override;
    bool isChecked(const std::string& name) const override;
    void setIconPosition(const std::string& name, int left, int top) override;
    void setIconVisible(const std::string& name, bool visible) override;
    BoxAnswer messageBox(const std::string& text, const std::string& title, BoxButtons buttons,
                         BoxIcon icon) override;
    int windowTop() const override { return top; }
    void placeWindow(int left, int top, int width, int height) override;
    std::int32_t nativeHandle() const override { return handle; }
    void endProgram() override;
    bool keepsFact(const std::string& fact) const override { return facts.count(fact) != 0; }
    void keepFact(const std::string& fact) override { facts.insert(fact); }
    void setItemVisible(const std::string& name, bool visible) override { itemVisible[name] = visible; }
    std::string chooseFileToSave(const std::string& title) override { return choose(title); }
    std::string chooseFileToOpen(const std::string& title) override { return choose(title); }

    // ---- what tests read and script
    std::deque<std::string> scriptedPaths;  // one per file dialog; empty: cancelled
    std::vector<std::string> dialogTitles;
    std::vector<WindowCall> calls;
    std::vector<ShownBox> boxes;
    std::map<std::string, bool> checks;
    std::map<std::string, bool> iconVisible;
    std::map<std::string, bool> itemVisible;  // menu bar commands, as last set
    std::set<std::string> facts;              // kept across runs: a test carries them over
    std::map<std::string, std::pair<int, int>> iconPosition;  // left, top
    std::deque<BoxAnswer> scriptedAnswers;  // taken first, one per box
    BoxAnswer yesNoDefault = BoxAnswer::Yes;
    int top = 0;
    int left = 0, width = 0, height = 0;
    int backColor = -1;
    int endCount = 0;
    std::int32_t handle = 4242;

    void clearCalls() { calls.clear(); }
    std::vector<WindowCall> callsOf(WindowCall::Kind kind) const;
    std::vector<std::string> textsPrinted() const;
    // The picture last painted with its corner at (x, y) twips, or -1.
    int pictureAt(double x, double y) const;

private:
    std::string choose(const std::string& title) {
        dialogTitles.push_back(title);
        if (scriptedPaths.empty()) return {};
        std::string path = scriptedPaths.front();
        scriptedPaths.pop_front();
        return path;
    }
};

}  // namespace daro::test
