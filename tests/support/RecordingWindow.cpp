#include "RecordingWindow.h"

#include <cmath>

namespace daro::test {

void RecordingWindow::paintPicture(int pictureCode, double x, double y) {
    WindowCall c{WindowCall::Kind::Picture};
    c.code = pictureCode;
    c.x = x;
    c.y = y;
    calls.push_back(c);
}

void RecordingWindow::drawRectangle(double x1, double y1, double x2, double y2, int qbColor) {
    WindowCall c{WindowCall::Kind::Rectangle};
    c.code = qbColor;
    c.x = x1;
    c.y = y1;
    c.x2 = x2;
    c.y2 = y2;
    calls.push_back(c);
}

void RecordingWindow::fillRectangle(double x1, double y1, double x2, double y2, int qbColor) {
    WindowCall c{WindowCall::Kind::Fill};
    c.code = qbColor;
    c.x = x1;
    c.y = y1;
    c.x2 = x2;
    c.y2 = y2;
    calls.push_back(c);
}

void RecordingWindow::printText(double x, double y, const std::string& text, double size, bool bold,
                                int qbColor) {
    WindowCall c{WindowCall::Kind::Text};
    c.code = qbColor;
    c.x = x;
    c.y = y;
    c.text = text;
    c.size = size;
    c.bold = bold;
    calls.push_back(c);
}

void RecordingWindow::refresh() { calls.push_back(WindowCall{WindowCall::Kind::Refresh}); }

void RecordingWindow::setBackColor(int qbColor) {
    backColor = qbColor;
    WindowCall c{WindowCall::Kind::BackColor};
    c.code = qbColor;
    calls.push_back(c);
}

void RecordingWindow::setChecked(const std::string& name, bool checked) {
    checks[name] = checked;
    WindowCall c{WindowCall::Kind::Check};
    c.text = name;
    c.code = checked ? 1 : 0;
    calls.push_back(c);
}

bool RecordingWindow::isChecked(const std::string& name) const {
    auto it = checks.find(name);
    return it != checks.end() && it->second;
}

void RecordingWindow::setIconPosition(const std::string& name, int l, int t) {
    iconPosition[name] = {l, t};
    WindowCall c{WindowCall::Kind::IconPosition};
    c.text = name;
    c.x = l;
    c.y = t;
    calls.push_back(c);
}

void RecordingWindow::setIconVisible(const std::string& name, bool visible) {
    iconVisible[name] = visible;
    WindowCall c{WindowCall::Kind::IconVisible};
    c.text = name;
    c.code = visible ? 1 : 0;
    calls.push_back(c);
}

BoxAnswer RecordingWindow::messageBox(const std::string& text, const std::string& title, BoxButtons buttons,
                                      BoxIcon icon) {
    boxes.push_back({text, title, buttons, icon});
    WindowCall c{WindowCall::Kind::Box};
    c.text = text;
    c.title = title;
    c.buttons = buttons;
    c.icon = icon;
    calls.push_back(c);
    if (!scriptedAnswers.empty()) {
        BoxAnswer a = scriptedAnswers.front();
        scriptedAnswers.pop_front();
        return a;
    }
    return buttons == BoxButtons::Ok ? BoxAnswer::Ok : yesNoDefault;
}

void RecordingWindow::placeWindow(int l, int t, int w, int h) {
    left = l;
    top = t;
    width = w;
    height = h;
    WindowCall c{WindowCall::Kind::Place};
    c.x = l;
    c.y = t;
    c.x2 = w;
    c.y2 = h;
    calls.push_back(c);
}

void RecordingWindow::endProgram() {
    ++endCount;
    calls.push_back(WindowCall{WindowCall::Kind::End});
    throw ProgramEnded();
}

std::vector<WindowCall> RecordingWindow::callsOf(WindowCall::Kind kind) const {
    std::vector<WindowCall> out;
    for (const auto& c : calls)
        if (c.kind == kind) out.push_back(c);
    return out;
}

std::vector<std::string> RecordingWindow::textsPrinted() const {
    std::vector<std::string> out;
    for (const auto& c : calls)
        if (c.kind == WindowCall::Kind::Text) out.push_back(c.text);
    return out;
}

int RecordingWindow::pictureAt(double x, double y) const {
    int found = -1;
    for (const auto& c : calls)
        if (c.kind == WindowCall::Kind::Picture && std::abs(c.x - x) < 0.01 && std::abs(c.y - y) < 0.01)
            found = c.code;
    return found;
}

}  // namespace daro::test
