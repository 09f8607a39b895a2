#include "NetSentences.h"

#include <QCoreApplication>

#include <algorithm>
#include <iterator>

namespace daro::qt {

namespace {

QString text(const char* source) { return QCoreApplication::translate("NetWindow", source); }

struct Refusal {
    const char* code;
    const char* sentence;
};

constexpr Refusal refusals[] = {
    {"malformed", QT_TRANSLATE_NOOP("NetWindow", "サーバーが要求を読めませんでした")},
    {"too_large", QT_TRANSLATE_NOOP("NetWindow", "要求が大きすぎます")},
    {"unknown_type", QT_TRANSLATE_NOOP("NetWindow", "このサーバーはその要求を知りません")},
    {"hello_first", QT_TRANSLATE_NOOP("NetWindow", "接続の挨拶が済んでいません")},
    {"bad_version", QT_TRANSLATE_NOOP("NetWindow", "サーバーの通信の版がこのプログラムと合いません")},
    {"bad_text", QT_TRANSLATE_NOOP("NetWindow", "名前かチャットが空か長すぎるか、使えない文字を含んでいます")},
    {"unexpected", QT_TRANSLATE_NOOP("NetWindow", "接続の挨拶は一度だけです")},
    {"no_such_table", QT_TRANSLATE_NOOP("NetWindow", "そのコードの卓はありません")},
    {"already_at_table", QT_TRANSLATE_NOOP("NetWindow", "もう卓についています。先に卓を離れて下さい")},
    {"not_at_table", QT_TRANSLATE_NOOP("NetWindow", "卓についていません")},
    {"seat_taken", QT_TRANSLATE_NOOP("NetWindow", "その席はもう埋まっています")},
    {"no_free_seat", QT_TRANSLATE_NOOP("NetWindow", "その卓に空いている席はありません")},
    {"game_over", QT_TRANSLATE_NOOP("NetWindow", "その卓の対局は終わっています")},
    {"table_full", QT_TRANSLATE_NOOP("NetWindow", "その卓の観戦者は満員です")},
    {"bad_token", QT_TRANSLATE_NOOP("NetWindow", "この席の鍵が通りませんでした。席はもうあなたのものではありません")},
    {"replaced", QT_TRANSLATE_NOOP("NetWindow", "別の窓がこの席につきました")},
    {"not_seated", QT_TRANSLATE_NOOP("NetWindow", "観戦中は指せません")},
    {"game_not_running", QT_TRANSLATE_NOOP("NetWindow", "対局は行われていません")},
    {"not_your_turn", QT_TRANSLATE_NOOP("NetWindow", "あなたの番ではありません")},
    {"not_your_piece", QT_TRANSLATE_NOOP("NetWindow", "あなたの国の駒ではありません")},
    {"illegal_move", QT_TRANSLATE_NOOP("NetWindow", "その駒はそこへは動けません")},
    {"king_in_reach", QT_TRANSLATE_NOOP("NetWindow", "王が他国の駒の利きに入ります")},
    {"rate_limited", QT_TRANSLATE_NOOP("NetWindow", "送るのが速すぎます。少し待って下さい")},
    {"too_many_connections", QT_TRANSLATE_NOOP("NetWindow", "このアドレスからの接続が多すぎます")},
    {"server_full", QT_TRANSLATE_NOOP("NetWindow", "サーバーの卓がいっぱいです。後でもう一度どうぞ")},
    {"too_many_tables", QT_TRANSLATE_NOOP("NetWindow", "このアドレスから作った、終わっていない卓が多すぎます")},
    {"storage_failed", QT_TRANSLATE_NOOP("NetWindow", "サーバーが記録できませんでした。何も変わっていません")},
    {"game_not_over", QT_TRANSLATE_NOOP("NetWindow", "対局はまだ終わっていません")},
};

constexpr const char* kingdoms[8] = {"",
                                     QT_TRANSLATE_NOOP("NetWindow", "秦"),
                                     QT_TRANSLATE_NOOP("NetWindow", "楚"),
                                     QT_TRANSLATE_NOOP("NetWindow", "韓"),
                                     QT_TRANSLATE_NOOP("NetWindow", "斉"),
                                     QT_TRANSLATE_NOOP("NetWindow", "魏"),
                                     QT_TRANSLATE_NOOP("NetWindow", "趙"),
                                     QT_TRANSLATE_NOOP("NetWindow", "燕")};

}  // namespace

QString kingdomName(int seat) { return seat >= 1 && seat <= 7 ? text(kingdoms[seat]) : QString(); }

QStringList knownRefusals() {
    QStringList codes;
    for (const Refusal& r : refusals) codes << QLatin1String(r.code);
    return codes;
}

QString refusalSentence(const QString& code, int missingPlayers, bool over) {
    if (code == QLatin1String("game_not_running")) {
        if (over) return text(QT_TRANSLATE_NOOP("NetWindow", "対局は終わりました"));
        if (missingPlayers == 1)
            return text(QT_TRANSLATE_NOOP("NetWindow", "人間の席が全部埋まると対局が始まります。あと1人を待っています"));
        if (missingPlayers > 1)
            return text(QT_TRANSLATE_NOOP("NetWindow", "人間の席が全部埋まると対局が始まります。あと%1人を待っています"))
                .arg(missingPlayers);
    }
    for (const Refusal& r : refusals)
        if (code == QLatin1String(r.code)) return text(r.sentence);
    // A code of a newer server: said as it is.
    return text(QT_TRANSLATE_NOOP("NetWindow", "サーバーが断りました: %1")).arg(code.left(40));
}

QString moveTimeText(int seconds) {
    const auto count = [](int n, const char* one, const char* many) { return n == 1 ? text(one) : text(many).arg(n); };
    if (seconds > 0 && seconds % 86400 == 0)
        return count(seconds / 86400, QT_TRANSLATE_NOOP("NetWindow", "1日"), QT_TRANSLATE_NOOP("NetWindow", "%1日"));
    if (seconds > 0 && seconds % 3600 == 0)
        return count(seconds / 3600, QT_TRANSLATE_NOOP("NetWindow", "1時間"), QT_TRANSLATE_NOOP("NetWindow", "%1時間"));
    return count(std::max(1, (seconds + 30) / 60), QT_TRANSLATE_NOOP("NetWindow", "1分"),
                 QT_TRANSLATE_NOOP("NetWindow", "%1分"));
}

QString paceText(bool turnBased, int moveSeconds) {
    return turnBased ? text(QT_TRANSLATE_NOOP("NetWindow", "手番ごと、一手 %1")).arg(moveTimeText(moveSeconds))
                     : text(QT_TRANSLATE_NOOP("NetWindow", "その場で"));
}

QString tableRulesText(bool turnBased, int moveSeconds, bool hints) {
    const QString pace = turnBased ? text(QT_TRANSLATE_NOOP("NetWindow", "進め方: 手番ごと、一手 %1")).arg(moveTimeText(moveSeconds))
                                   : text(QT_TRANSLATE_NOOP("NetWindow", "進め方: その場で"));
    return hints ? text(QT_TRANSLATE_NOOP("NetWindow", "%1（ヒントあり）")).arg(pace) : pace;
}

}  // namespace daro::qt
