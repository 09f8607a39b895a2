#pragma once
// What the network panel keeps between runs, in the program's data folder:
// a file per table the window holds a seat at (its seat and token), and the
// chat lines heard at that table (the last `chatLines`). A table's code is
// the file's name, so only a well-formed code ever names a file.

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace daro::qt {

// A table code as the server writes them: six capitals or digits.
bool isTableCode(const QString& code);
// A seat token: 32 ASCII letters or digits.
bool isSeatToken(const QString& token);

struct HeldSeat {
    QString code;
    int seat = 0;
    QString token;
};

class NetMemory {
public:
    static constexpr int chatLines = 200;

    // `folder` empty: the program's data folder, `tables` within it.
    explicit NetMemory(QString folder = {});

    void keepSeat(const HeldSeat& seat);
    std::optional<HeldSeat> seatAt(const QString& code) const;
    // Every seat held, in the order of their codes.
    std::vector<HeldSeat> seats() const;
    // The seat and the table's chat go.
    void forget(const QString& code);

    void addChat(const QString& code, const QString& line);
    QStringList chat(const QString& code) const;

private:
    QString path(const QString& code, const char* suffix) const;
    QString folder_;
};

}  // namespace daro::qt
