#include "Phrasebook.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace daro::qt::phrasebook {
namespace {

struct Entry {
    const char* source;
    const char* comment;
};

// Every text the game shows in a box, as a box's title or beside the board.
// "%1", "%2", ... are places for parts that are not translated as they are
// (a path, a number) or are translated on their own (a reason).
const Entry kEntries[] = {
    // Kingdoms, alone (within reasons) and in whole sentences.
    QT_TRANSLATE_NOOP3("Game", "秦", "kingdom"),
    QT_TRANSLATE_NOOP3("Game", "楚", "kingdom"),
    QT_TRANSLATE_NOOP3("Game", "韓", "kingdom"),
    QT_TRANSLATE_NOOP3("Game", "斉", "kingdom"),
    QT_TRANSLATE_NOOP3("Game", "魏", "kingdom"),
    QT_TRANSLATE_NOOP3("Game", "趙", "kingdom"),
    QT_TRANSLATE_NOOP3("Game", "燕", "kingdom"),
    QT_TRANSLATE_NOOP3("Game", "秦の番です", "box"),
    QT_TRANSLATE_NOOP3("Game", "楚の番です", "box"),
    QT_TRANSLATE_NOOP3("Game", "韓の番です", "box"),
    QT_TRANSLATE_NOOP3("Game", "斉の番です", "box"),
    QT_TRANSLATE_NOOP3("Game", "魏の番です", "box"),
    QT_TRANSLATE_NOOP3("Game", "趙の番です", "box"),
    QT_TRANSLATE_NOOP3("Game", "燕の番です", "box"),
    QT_TRANSLATE_NOOP3("Game", "秦の勝ちです", "box"),
    QT_TRANSLATE_NOOP3("Game", "楚の勝ちです", "box"),
    QT_TRANSLATE_NOOP3("Game", "韓の勝ちです", "box"),
    QT_TRANSLATE_NOOP3("Game", "斉の勝ちです", "box"),
    QT_TRANSLATE_NOOP3("Game", "魏の勝ちです", "box"),
    QT_TRANSLATE_NOOP3("Game", "趙の勝ちです", "box"),
    QT_TRANSLATE_NOOP3("Game", "燕の勝ちです", "box"),
    QT_TRANSLATE_NOOP3("Game", "秦は脱落しました", "box"),
    QT_TRANSLATE_NOOP3("Game", "楚は脱落しました", "box"),
    QT_TRANSLATE_NOOP3("Game", "韓は脱落しました", "box"),
    QT_TRANSLATE_NOOP3("Game", "斉は脱落しました", "box"),
    QT_TRANSLATE_NOOP3("Game", "魏は脱落しました", "box"),
    QT_TRANSLATE_NOOP3("Game", "趙は脱落しました", "box"),
    QT_TRANSLATE_NOOP3("Game", "燕は脱落しました", "box"),
    QT_TRANSLATE_NOOP3("Game", "人間の国はすべて脱落しました", "box"),
    QT_TRANSLATE_NOOP3("Game", "あなたの負けです", "box"),
    QT_TRANSLATE_NOOP3("Game", "どの国も動けません", "box"),
    QT_TRANSLATE_NOOP3("Game", "続けますか？", "box"),
    QT_TRANSLATE_NOOP3("Game", "「対局」で始めて下さい", "box"),
    QT_TRANSLATE_NOOP3("Game", "自殺はできません", "box: a king may not move where another kingdom reaches"),
    QT_TRANSLATE_NOOP3("Game", "OKですか？", "box: a click on the board plays on from the position shown"),
    QT_TRANSLATE_NOOP3("Game", "できません", "戻る"),
    QT_TRANSLATE_NOOP3("Game", "できません", "進む"),
    QT_TRANSLATE_NOOP3("Game", "サーバーの卓では手を戻せません。戻・進は局面を見るだけで、盤をクリックするか「今の局面へ」で対局に戻ります", "戻る"),
    // Titles of boxes and file dialogs.
    QT_TRANSLATE_NOOP3("Game", "開始", "title"),
    QT_TRANSLATE_NOOP3("Game", "再開", "title"),
    QT_TRANSLATE_NOOP3("Game", "戻る", "title"),
    QT_TRANSLATE_NOOP3("Game", "進む", "title"),
    QT_TRANSLATE_NOOP3("Game", "手番が違います", "title"),
    QT_TRANSLATE_NOOP3("Game", "終了", "title"),
    QT_TRANSLATE_NOOP3("Game", "再ゲーム", "title"),
    QT_TRANSLATE_NOOP3("Game", "脱落", "title"),
    QT_TRANSLATE_NOOP3("Game", "保存", "title"),
    QT_TRANSLATE_NOOP3("Game", "開く", "title"),
    QT_TRANSLATE_NOOP3("Game", "ヒント", "title"),
    QT_TRANSLATE_NOOP3("Game", "この卓ではヒントは使えません", "box: the server table was created without hints"),
    QT_TRANSLATE_NOOP3("Game", "ZT七国将棋", "title of the About box"),
    QT_TRANSLATE_NOOP3("Game", "ZT七国将棋.dll", "title of the sound warnings"),
    QT_TRANSLATE_NOOP3("Game", "ZT七国将棋  Version %1    [10/2000]\r\rHome page\r%2\r\re-mail\r%3",
                       "About box: %1 version, %2 home page, %3 mail address"),
    // Beside the board.
    QT_TRANSLATE_NOOP3("Game", "秦 取駒(王) ", "label over two counts: pieces taken, kings among them"),
    QT_TRANSLATE_NOOP3("Game", "楚 取駒(王) ", "label over two counts: pieces taken, kings among them"),
    QT_TRANSLATE_NOOP3("Game", "韓 取駒(王) ", "label over two counts: pieces taken, kings among them"),
    QT_TRANSLATE_NOOP3("Game", "斉 取駒(王) ", "label over two counts: pieces taken, kings among them"),
    QT_TRANSLATE_NOOP3("Game", "魏 取駒(王) ", "label over two counts: pieces taken, kings among them"),
    QT_TRANSLATE_NOOP3("Game", "趙 取駒(王) ", "label over two counts: pieces taken, kings among them"),
    QT_TRANSLATE_NOOP3("Game", "燕 取駒(王) ", "label over two counts: pieces taken, kings among them"),
    QT_TRANSLATE_NOOP3("Game", "思考中", "label while a computer kingdom thinks"),
    QT_TRANSLATE_NOOP3("Game", "王手", "label: another kingdom can take the human's king"),
    QT_TRANSLATE_NOOP3("Game", "LEVEL", "label before the computer's level"),
    QT_TRANSLATE_NOOP3("Game", "一", "row label"),
    QT_TRANSLATE_NOOP3("Game", "二", "row label"),
    QT_TRANSLATE_NOOP3("Game", "三", "row label"),
    QT_TRANSLATE_NOOP3("Game", "四", "row label"),
    QT_TRANSLATE_NOOP3("Game", "五", "row label"),
    QT_TRANSLATE_NOOP3("Game", "六", "row label"),
    QT_TRANSLATE_NOOP3("Game", "七", "row label"),
    QT_TRANSLATE_NOOP3("Game", "八", "row label"),
    QT_TRANSLATE_NOOP3("Game", "九", "row label"),
    QT_TRANSLATE_NOOP3("Game", "十", "row label"),
    QT_TRANSLATE_NOOP3("Game", "十一", "row label"),
    QT_TRANSLATE_NOOP3("Game", "十二", "row label"),
    QT_TRANSLATE_NOOP3("Game", "十三", "row label"),
    QT_TRANSLATE_NOOP3("Game", "十四", "row label"),
    QT_TRANSLATE_NOOP3("Game", "十五", "row label"),
    QT_TRANSLATE_NOOP3("Game", "十六", "row label"),
    QT_TRANSLATE_NOOP3("Game", "十七", "row label"),
    QT_TRANSLATE_NOOP3("Game", "十八", "row label"),
    QT_TRANSLATE_NOOP3("Game", "十九", "row label"),
    // Game files.
    QT_TRANSLATE_NOOP3("Game", "前回の対局はありません", "box: no game was kept from last time"),
    QT_TRANSLATE_NOOP3("Game", "前回の続き", "title"),
    QT_TRANSLATE_NOOP3("Game", "前回の対局を開けません: %1", "box: %1 why the game kept from last time cannot be opened"),
    QT_TRANSLATE_NOOP3("Game", "%1\n保存できません: %2", "box: %1 the file's path, %2 why"),
    QT_TRANSLATE_NOOP3("Game", "%1\n開けません: %2", "box: %1 the file's path, %2 why"),
    QT_TRANSLATE_NOOP3("Game", "%1 行目: %2", "%1 a line number of the file, %2 what is wrong there"),
    QT_TRANSLATE_NOOP3("Game", "daro の対局ファイルではありません", "game file"),
    QT_TRANSLATE_NOOP3("Game", "別の版の対局ファイルです", "game file"),
    QT_TRANSLATE_NOOP3("Game", "ファイルが %1 の行の前で終わっています", "game file: %1 mode, human or level"),
    QT_TRANSLATE_NOOP3("Game", "\"mode one-player\"、\"mode seven-players\" か \"mode free\" の行のはずです", "game file"),
    QT_TRANSLATE_NOOP3("Game", "\"seats\" と七つの指し手の行のはずです", "game file"),
    QT_TRANSLATE_NOOP3("Game", "指し手は human、level1～level5 か random です", "game file"),
    QT_TRANSLATE_NOOP3("Game", "\"human 番目\" の行のはずです (番目は 1～7)", "game file"),
    QT_TRANSLATE_NOOP3("Game", "\"level K\" の行のはずです (K は 1～5)", "game file"),
    QT_TRANSLATE_NOOP3("Game", "行が途中で切れています (行末がありません)", "game file"),
    QT_TRANSLATE_NOOP3("Game", "ファイルが 16 MiB より大きいです", "game file"),
    QT_TRANSLATE_NOOP3("Game", "対局はもう終わっています", "game file"),
    QT_TRANSLATE_NOOP3("Game", "知らない記録です: \"%1\"", "game file: %1 the start of the line"),
    QT_TRANSLATE_NOOP3("Game", "指す国が残っていません", "game file"),
    QT_TRANSLATE_NOOP3("Game", "手番が違います: %1番目 (%2) の番です", "game file: %1 seat number, %2 its kingdom"),
    QT_TRANSLATE_NOOP3("Game", "指し手の行には数が八つ要ります", "game file"),
    QT_TRANSLATE_NOOP3("Game", "%2 手目のところが %1 手目になっています",
                       "game file: %1 the move number written, %2 the one due"),
    QT_TRANSLATE_NOOP3("Game", "その番目はありません", "game file"),
    QT_TRANSLATE_NOOP3("Game", "王を失った国は指さずに離脱します", "game file"),
    QT_TRANSLATE_NOOP3("Game", "駒が 10 以下の国は指さずに離脱します", "game file"),
    QT_TRANSLATE_NOOP3("Game", "王がほかの国の利く桝に立つことになります", "game file"),
    QT_TRANSLATE_NOOP3("Game", "盤の外の桝です", "game file"),
    QT_TRANSLATE_NOOP3("Game", "その桝にその国のその駒はありません", "game file"),
    QT_TRANSLATE_NOOP3("Game", "行き先の桝にあるものが違います", "game file"),
    QT_TRANSLATE_NOOP3("Game", "指せない手です", "game file"),
    QT_TRANSLATE_NOOP3("Game", "out の行には番目 (1～7) を一つ書きます", "game file"),
    QT_TRANSLATE_NOOP3("Game", "王があって駒が 10 より多い国は離脱しません", "game file"),
    QT_TRANSLATE_NOOP3("Game", "pass の行には番目 (1～7) を一つ書きます", "game file"),
    QT_TRANSLATE_NOOP3("Game", "王を失った国はパスせずに離脱します", "game file"),
    QT_TRANSLATE_NOOP3("Game", "指せる手があるのにパスしています", "game file"),
    QT_TRANSLATE_NOOP3("Game", "win の行には番目 (1～7) を一つ書きます", "game file"),
    QT_TRANSLATE_NOOP3("Game", "\"lost\" の後には何も書きません", "game file"),
    QT_TRANSLATE_NOOP3("Game", "ここではまだ勝負がついていません", "game file"),
    QT_TRANSLATE_NOOP3("Game", "結果は \"%1\" のはずです", "game file: %1 the result line due"),
    QT_TRANSLATE_NOOP3("Game", "ファイルを開けません", "game file"),
    QT_TRANSLATE_NOOP3("Game", "通常のファイルではありません", "file"),
    QT_TRANSLATE_NOOP3("Game", "ファイルを読めません", "game file"),
    QT_TRANSLATE_NOOP3("Game", "フォルダに書き込めません", "game file"),
    QT_TRANSLATE_NOOP3("Game", "ファイルを最後まで書き込めませんでした", "game file"),
    QT_TRANSLATE_NOOP3("Game", "ファイルを置き換えられませんでした: %1", "game file: %1 the system's message"),
    // Sound.
    QT_TRANSLATE_NOOP3("Game", "Direct Soundインターフェースが作成できません。", "sound: no sound device"),
    QT_TRANSLATE_NOOP3("Game", "%1: %2", "sound: %1 a wave file, %2 why it cannot be played"),
    QT_TRANSLATE_NOOP3("Game", "ファイルが大きすぎます (64 MiB まで)", "sound"),
    QT_TRANSLATE_NOOP3("Game", "ファイルが見つかりません", "sound"),
    QT_TRANSLATE_NOOP3("Game", "ファイルを読む権限がありません", "sound"),
    QT_TRANSLATE_NOOP3("Game", "ファイルではなくフォルダです", "sound"),
    QT_TRANSLATE_NOOP3("Game", "ファイルが大きすぎます", "sound"),
    QT_TRANSLATE_NOOP3("Game", "ファイルを読めませんでした (エラー番号 %1)", "sound: %1 the system's error number"),
    QT_TRANSLATE_NOOP3("Game", "ファイルが空です", "sound"),
    QT_TRANSLATE_NOOP3("Game", "再生できる形式の音声ではありません", "sound"),
};

// A sentence with places, as a pattern over the text it words.
struct Pattern {
    const Entry* entry;
    QRegularExpression expression;
    qsizetype fixedLength;  // the more fixed text, the surer the match
};

struct Book {
    QHash<QString, std::vector<const Entry*>> whole;
    std::vector<Pattern> patterns;
};

const Book& book() {
    static const Book b = [] {
        Book b;
        static const QRegularExpression hole(QStringLiteral("%([1-9])"));
        for (const Entry& e : kEntries) {
            const QString source = QString::fromUtf8(e.source);
            if (!source.contains(hole)) {
                b.whole[source].push_back(&e);
                continue;
            }
            QString expression = QStringLiteral("^");
            qsizetype fixed = 0, at = 0;
            for (auto it = hole.globalMatch(source); it.hasNext();) {
                const auto m = it.next();
                const QString literal = source.mid(at, m.capturedStart() - at);
                expression += QRegularExpression::escape(literal) + QStringLiteral("(.*)");
                fixed += literal.size();
                at = m.capturedEnd();
            }
            expression += QRegularExpression::escape(source.mid(at)) + QStringLiteral("$");
            fixed += source.size() - at;
            b.patterns.push_back(
                {&e, QRegularExpression(expression, QRegularExpression::DotMatchesEverythingOption), fixed});
        }
        std::stable_sort(b.patterns.begin(), b.patterns.end(),
                         [](const Pattern& a, const Pattern& c) { return a.fixedLength > c.fixedLength; });
        return b;
    }();
    return b;
}

QString translated(const Entry& e) { return QCoreApplication::translate("Game", e.source, e.comment); }

// Fills %1 .. %9 in one pass, so a part holding "%2" stays as it is.
QString filled(const QString& sentence, const QStringList& parts) {
    QString out;
    for (qsizetype i = 0; i < sentence.size(); ++i) {
        const QChar c = sentence.at(i);
        if (c == QLatin1Char('%') && i + 1 < sentence.size() && sentence.at(i + 1) >= QLatin1Char('1') &&
            sentence.at(i + 1) <= QLatin1Char('9')) {
            const int n = sentence.at(i + 1).unicode() - '1';
            if (n < parts.size()) out += parts.at(n);
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

// Where the order of the places differs from their numbers ("%2 ... %1"),
// captures come in the order of the text.
QList<int> holeOrder(const char* source) {
    QList<int> order;
    static const QRegularExpression hole(QStringLiteral("%([1-9])"));
    for (auto it = hole.globalMatch(QString::fromUtf8(source)); it.hasNext();)
        order << it.next().captured(1).toInt() - 1;
    return order;
}

QString lookUp(const QString& text, const QString& title, bool* found) {
    *found = true;
    const Book& b = book();
    if (auto it = b.whole.constFind(text); it != b.whole.constEnd()) {
        for (const Entry* e : *it)
            if (!title.isEmpty() && title == QString::fromUtf8(e->comment)) return translated(*e);
        return translated(*it->front());
    }
    for (const Pattern& p : b.patterns) {
        const auto m = p.expression.match(text);
        if (!m.hasMatch()) continue;
        const QList<int> order = holeOrder(p.entry->source);
        QStringList parts(order.size());
        for (int i = 0; i < order.size(); ++i) {
            bool known = false;
            const QString part = m.captured(i + 1);
            const QString inner = lookUp(part, {}, &known);
            parts[order[i]] = known ? inner : part;
        }
        return filled(translated(*p.entry), parts);
    }
    *found = false;
    return text;
}

}  // namespace

bool translating() {
    return QCoreApplication::translate("Language", "日本語") != QStringLiteral("日本語");
}

QString translate(const QString& text, const QString& title) {
    if (text.isEmpty() || !translating()) return text;
    bool found = false;
    return lookUp(text, title, &found);
}

QString moveSuffix(const QString& text, int moveNumber) {
    if (!translating() || text != QStringLiteral("手目")) return translate(text);
    return QCoreApplication::translate("Game", "手目", "after the move number", moveNumber);
}

QStringList catalogue() {
    QStringList all;
    for (const Entry& e : kEntries) all << QString::fromUtf8(e.source);
    return all;
}

}  // namespace daro::qt::phrasebook
