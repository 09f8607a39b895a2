#include "NetMemory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace daro::qt {

namespace {

bool isAsciiLetterOrDigit(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

// A seat file is one short line; a chat file at most `chatLines` bounded lines.
constexpr qint64 largestSeatFile = 256;
constexpr qint64 largestChatFile = 1024 * 1024;

// The file's bytes when it is a regular file of at most `limit` bytes.
std::optional<QByteArray> readSmallFile(const QString& path, qint64 limit) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QFileInfo info(path);
    if (!info.isFile() || file.size() > limit) return std::nullopt;
    return file.read(limit + 1).left(limit);
}

bool writeReplacing(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(bytes);
    return file.commit();
}

// A line kept is one line: whatever a server sent, no control character
// survives into the file.
QString oneLine(const QString& text) {
    QString line = text.left(400);
    for (QChar& c : line)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    return line;
}

}  // namespace

bool isTableCode(const QString& code) {
    return code.size() == 6 && std::all_of(code.begin(), code.end(), [](QChar c) {
               return isAsciiLetterOrDigit(c) && !(c >= QLatin1Char('a') && c <= QLatin1Char('z'));
           });
}

bool isSeatToken(const QString& token) {
    return token.size() == 32 && std::all_of(token.begin(), token.end(), isAsciiLetterOrDigit);
}

NetMemory::NetMemory(QString folder) : folder_(std::move(folder)) {
    if (folder_.isEmpty())
        folder_ = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/tables");
}

QString NetMemory::path(const QString& code, const char* suffix) const {
    return folder_ + QLatin1Char('/') + code + QLatin1String(suffix);
}

void NetMemory::keepSeat(const HeldSeat& seat) {
    if (!isTableCode(seat.code) || seat.seat < 1 || seat.seat > 7 || !isSeatToken(seat.token)) return;
    writeReplacing(path(seat.code, ".seat"), QStringLiteral("%1 %2\n").arg(seat.seat).arg(seat.token).toUtf8());
}

std::optional<HeldSeat> NetMemory::seatAt(const QString& code) const {
    if (!isTableCode(code)) return std::nullopt;
    const auto bytes = readSmallFile(path(code, ".seat"), largestSeatFile);
    if (!bytes) return std::nullopt;
    const QStringList words = QString::fromUtf8(*bytes).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() != 2) return std::nullopt;
    bool whole = false;
    HeldSeat held{code, words[0].toInt(&whole), words[1].trimmed()};
    if (!whole || held.seat < 1 || held.seat > 7 || !isSeatToken(held.token)) return std::nullopt;
    return held;
}

std::vector<HeldSeat> NetMemory::seats() const {
    std::vector<HeldSeat> held;
    const QStringList files = QDir(folder_).entryList({QStringLiteral("*.seat")}, QDir::Files, QDir::Name);
    for (const QString& file : files)
        if (const auto seat = seatAt(file.chopped(5))) held.push_back(*seat);
    return held;
}

void NetMemory::forget(const QString& code) {
    if (!isTableCode(code)) return;
    QFile::remove(path(code, ".seat"));
    QFile::remove(path(code, ".chat"));
}

void NetMemory::addChat(const QString& code, const QString& line) {
    if (!isTableCode(code)) return;
    QStringList lines = chat(code);
    lines.append(oneLine(line));
    if (lines.size() > chatLines) lines = lines.mid(lines.size() - chatLines);
    writeReplacing(path(code, ".chat"), (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

QStringList NetMemory::chat(const QString& code) const {
    if (!isTableCode(code)) return {};
    const auto bytes = readSmallFile(path(code, ".chat"), largestChatFile);
    if (!bytes) return {};
    QStringList lines = QString::fromUtf8(*bytes).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.size() > chatLines) lines = lines.mid(lines.size() - chatLines);
    return lines;
}

}  // namespace daro::qt
