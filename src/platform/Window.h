#pragma once
// What the game asks of its window. Positions are twips from the client
// origin (15 twips make one logical pixel); colours are QBColor indices 0..15.

#include <cstdint>
#include <string>

namespace daro {

enum class BoxButtons { Ok, YesNo };
enum class BoxIcon { None, Warning };
enum class BoxAnswer { Ok, Yes, No };

class Window {
public:
    virtual ~Window() = default;

    // Drawing onto the persistent surface.
    virtual void paintPicture(int pictureCode, double xTwips, double yTwips) = 0;
    virtual void drawRectangle(double x1, double y1, double x2, double y2, int qbColor) = 0;
    // A solid rectangle, both corners included: the badges of the marks.
    virtual void fillRectangle(double x1, double y1, double x2, double y2, int qbColor) = 0;
    virtual void printText(double xTwips, double yTwips, const std::string& utf8Text,
                           double sizePoints, bool bold, int qbColor) = 0;
    // Shows what has been drawn so far, at once.
    virtual void refresh() = 0;
    virtual void setBackColor(int qbColor) = 0;

    // Menu check marks, by control name ("SIDOU", "LEVEL3", ...).
    virtual void setChecked(const std::string& controlName, bool checked) = 0;
    virtual bool isChecked(const std::string& controlName) const = 0;

    // The fourteen turn icons, by control name ("ICO_MAN_SOU", ...).
    virtual void setIconPosition(const std::string& controlName, int leftTwips, int topTwips) = 0;
    virtual void setIconVisible(const std::string& controlName, bool visible) = 0;

    // A modal box; returns the button that closed it.
    virtual BoxAnswer messageBox(const std::string& text, const std::string& title,
                                 BoxButtons buttons, BoxIcon icon) = 0;

    // Placement of the window on the screen, in twips.
    virtual int windowTop() const = 0;
    virtual void placeWindow(int leftTwips, int topTwips, int widthTwips, int heightTwips) = 0;
    virtual std::int32_t nativeHandle() const = 0;

    // The platform's file dialogs for a game file: the chosen path in UTF-8,
    // empty when the player cancels. A window without dialogs chooses nothing.
    virtual std::string chooseFileToSave(const std::string& title) { (void)title; return {}; }
    virtual std::string chooseFileToOpen(const std::string& title) { (void)title; return {}; }

    // A fact kept across runs of the program, such as a warning already
    // given once; a window that keeps nothing knows no fact.
    virtual bool keepsFact(const std::string& fact) const { (void)fact; return false; }
    virtual void keepFact(const std::string& fact) { (void)fact; }

    // A command of the menu bar shown or hidden, by control name.
    virtual void setItemVisible(const std::string& controlName, bool visible) { (void)controlName, (void)visible; }

    // Ends the program at once; no further event reaches the game.
    virtual void endProgram() = 0;
};

}  // namespace daro
