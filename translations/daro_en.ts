<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>FreeSeatsDialog</name>
    <message>
        <source>１番目(秦)</source>
        <translation>1st (Qin)</translation>
    </message>
    <message>
        <source>2番目(楚)</source>
        <translation>2nd (Chu)</translation>
    </message>
    <message>
        <source>3番目(韓)</source>
        <translation>3rd (Han)</translation>
    </message>
    <message>
        <source>4番目(斉)</source>
        <translation>4th (Qi)</translation>
    </message>
    <message>
        <source>5番目(魏)</source>
        <translation>5th (Wei)</translation>
    </message>
    <message>
        <source>6番目(趙)</source>
        <translation>6th (Zhao)</translation>
    </message>
    <message>
        <source>7番目(燕)</source>
        <translation>7th (Yan)</translation>
    </message>
    <message>
        <source>自由対局</source>
        <translation>Free seating</translation>
    </message>
    <message>
        <source>人間</source>
        <translation>Human</translation>
    </message>
    <message>
        <source>COM LEVEL%1</source>
        <translation>Computer, level %1</translation>
    </message>
    <message>
        <source>開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>Game</name>
    <message>
        <source>秦</source>
        <comment>kingdom</comment>
        <translation>Qin</translation>
    </message>
    <message>
        <source>楚</source>
        <comment>kingdom</comment>
        <translation>Chu</translation>
    </message>
    <message>
        <source>韓</source>
        <comment>kingdom</comment>
        <translation>Han</translation>
    </message>
    <message>
        <source>斉</source>
        <comment>kingdom</comment>
        <translation>Qi</translation>
    </message>
    <message>
        <source>魏</source>
        <comment>kingdom</comment>
        <translation>Wei</translation>
    </message>
    <message>
        <source>趙</source>
        <comment>kingdom</comment>
        <translation>Zhao</translation>
    </message>
    <message>
        <source>燕</source>
        <comment>kingdom</comment>
        <translation>Yan</translation>
    </message>
    <message>
        <source>秦の番です</source>
        <comment>box</comment>
        <translation>It is Qin’s turn.</translation>
    </message>
    <message>
        <source>楚の番です</source>
        <comment>box</comment>
        <translation>It is Chu’s turn.</translation>
    </message>
    <message>
        <source>韓の番です</source>
        <comment>box</comment>
        <translation>It is Han’s turn.</translation>
    </message>
    <message>
        <source>斉の番です</source>
        <comment>box</comment>
        <translation>It is Qi’s turn.</translation>
    </message>
    <message>
        <source>魏の番です</source>
        <comment>box</comment>
        <translation>It is Wei’s turn.</translation>
    </message>
    <message>
        <source>趙の番です</source>
        <comment>box</comment>
        <translation>It is Zhao’s turn.</translation>
    </message>
    <message>
        <source>燕の番です</source>
        <comment>box</comment>
        <translation>It is Yan’s turn.</translation>
    </message>
    <message>
        <source>秦の勝ちです</source>
        <comment>box</comment>
        <translation>Qin wins.</translation>
    </message>
    <message>
        <source>楚の勝ちです</source>
        <comment>box</comment>
        <translation>Chu wins.</translation>
    </message>
    <message>
        <source>韓の勝ちです</source>
        <comment>box</comment>
        <translation>Han wins.</translation>
    </message>
    <message>
        <source>斉の勝ちです</source>
        <comment>box</comment>
        <translation>Qi wins.</translation>
    </message>
    <message>
        <source>魏の勝ちです</source>
        <comment>box</comment>
        <translation>Wei wins.</translation>
    </message>
    <message>
        <source>趙の勝ちです</source>
        <comment>box</comment>
        <translation>Zhao wins.</translation>
    </message>
    <message>
        <source>燕の勝ちです</source>
        <comment>box</comment>
        <translation>Yan wins.</translation>
    </message>
    <message>
        <source>あなたの負けです</source>
        <comment>box</comment>
        <translation>You have lost.</translation>
    </message>
    <message>
        <source>どの国も動けません</source>
        <comment>box</comment>
        <translation>No kingdom can move.</translation>
    </message>
    <message>
        <source>続けますか？</source>
        <comment>box</comment>
        <translation>Play another game?</translation>
    </message>
    <message>
        <source>「対局」で始めて下さい</source>
        <comment>box</comment>
        <translation>Start a game from the “Game” menu first.</translation>
    </message>
    <message>
        <source>自殺はできません</source>
        <comment>box: a king may not move where another kingdom reaches</comment>
        <translation>Your king may not move onto a square that another kingdom reaches.</translation>
    </message>
    <message>
        <source>OKですか？</source>
        <comment>box: a click on the board plays on from the position shown</comment>
        <translation>Play on from this position?</translation>
    </message>
    <message>
        <source>できません</source>
        <comment>戻る</comment>
        <translation>There is no earlier position.</translation>
    </message>
    <message>
        <source>できません</source>
        <comment>進む</comment>
        <translation>There is no later position.</translation>
    </message>
    <message>
        <source>開始</source>
        <comment>title</comment>
        <translation>Start</translation>
    </message>
    <message>
        <source>再開</source>
        <comment>title</comment>
        <translation>Play on</translation>
    </message>
    <message>
        <source>戻る</source>
        <comment>title</comment>
        <translation>Back</translation>
    </message>
    <message>
        <source>進む</source>
        <comment>title</comment>
        <translation>Forward</translation>
    </message>
    <message>
        <source>手番が違います</source>
        <comment>title</comment>
        <translation>Not your turn</translation>
    </message>
    <message>
        <source>終了</source>
        <comment>title</comment>
        <translation>Game over</translation>
    </message>
    <message>
        <source>再ゲーム</source>
        <comment>title</comment>
        <translation>New game</translation>
    </message>
    <message>
        <source>保存</source>
        <comment>title</comment>
        <translation>Save</translation>
    </message>
    <message>
        <source>開く</source>
        <comment>title</comment>
        <translation>Open</translation>
    </message>
    <message>
        <source>ZT七国将棋</source>
        <comment>title of the About box</comment>
        <translation>ZT daro</translation>
    </message>
    <message>
        <source>ZT七国将棋.dll</source>
        <comment>title of the sound warnings</comment>
        <translation>ZT daro sound library</translation>
    </message>
    <message>
        <source>ZT七国将棋  Version %1    [10/2000]<byte value="xd"/><byte value="xd"/>Home page<byte value="xd"/>%2<byte value="xd"/><byte value="xd"/>e-mail<byte value="xd"/>%3</source>
        <comment>About box: %1 version, %2 home page, %3 mail address</comment>
        <translation>ZT daro (seven-kingdoms shogi)  Version %1    [10/2000]<byte value="xd"/><byte value="xd"/>Home page<byte value="xd"/>%2<byte value="xd"/><byte value="xd"/>e-mail<byte value="xd"/>%3</translation>
    </message>
    <message>
        <source>秦 取駒(王) </source>
        <comment>label over two counts: pieces taken, kings among them</comment>
        <translation>Qin got (K)</translation>
    </message>
    <message>
        <source>楚 取駒(王) </source>
        <comment>label over two counts: pieces taken, kings among them</comment>
        <translation>Chu got (K)</translation>
    </message>
    <message>
        <source>韓 取駒(王) </source>
        <comment>label over two counts: pieces taken, kings among them</comment>
        <translation>Han got (K)</translation>
    </message>
    <message>
        <source>斉 取駒(王) </source>
        <comment>label over two counts: pieces taken, kings among them</comment>
        <translation>Qi got (K)</translation>
    </message>
    <message>
        <source>魏 取駒(王) </source>
        <comment>label over two counts: pieces taken, kings among them</comment>
        <translation>Wei got (K)</translation>
    </message>
    <message>
        <source>趙 取駒(王) </source>
        <comment>label over two counts: pieces taken, kings among them</comment>
        <translation>Zhao got (K)</translation>
    </message>
    <message>
        <source>燕 取駒(王) </source>
        <comment>label over two counts: pieces taken, kings among them</comment>
        <translation>Yan got (K)</translation>
    </message>
    <message>
        <source>思考中</source>
        <comment>label while a computer kingdom thinks</comment>
        <translation>Playing</translation>
    </message>
    <message>
        <source>LEVEL</source>
        <comment>label before the computer&apos;s level</comment>
        <translation>Level</translation>
    </message>
    <message>
        <source>一</source>
        <comment>row label</comment>
        <translation>1</translation>
    </message>
    <message>
        <source>二</source>
        <comment>row label</comment>
        <translation>2</translation>
    </message>
    <message>
        <source>三</source>
        <comment>row label</comment>
        <translation>3</translation>
    </message>
    <message>
        <source>四</source>
        <comment>row label</comment>
        <translation>4</translation>
    </message>
    <message>
        <source>五</source>
        <comment>row label</comment>
        <translation>5</translation>
    </message>
    <message>
        <source>六</source>
        <comment>row label</comment>
        <translation>6</translation>
    </message>
    <message>
        <source>七</source>
        <comment>row label</comment>
        <translation>7</translation>
    </message>
    <message>
        <source>八</source>
        <comment>row label</comment>
        <translation>8</translation>
    </message>
    <message>
        <source>九</source>
        <comment>row label</comment>
        <translation>9</translation>
    </message>
    <message>
        <source>十</source>
        <comment>row label</comment>
        <translation>10</translation>
    </message>
    <message>
        <source>十一</source>
        <comment>row label</comment>
        <translation>11</translation>
    </message>
    <message>
        <source>十二</source>
        <comment>row label</comment>
        <translation>12</translation>
    </message>
    <message>
        <source>十三</source>
        <comment>row label</comment>
        <translation>13</translation>
    </message>
    <message>
        <source>十四</source>
        <comment>row label</comment>
        <translation>14</translation>
    </message>
    <message>
        <source>十五</source>
        <comment>row label</comment>
        <translation>15</translation>
    </message>
    <message>
        <source>十六</source>
        <comment>row label</comment>
        <translation>16</translation>
    </message>
    <message>
        <source>十七</source>
        <comment>row label</comment>
        <translation>17</translation>
    </message>
    <message>
        <source>十八</source>
        <comment>row label</comment>
        <translation>18</translation>
    </message>
    <message>
        <source>十九</source>
        <comment>row label</comment>
        <translation>19</translation>
    </message>
    <message>
        <source>%1
保存できません: %2</source>
        <comment>box: %1 the file&apos;s path, %2 why</comment>
        <translation>%1
Cannot save: %2</translation>
    </message>
    <message>
        <source>%1
開けません: %2</source>
        <comment>box: %1 the file&apos;s path, %2 why</comment>
        <translation>%1
Cannot open: %2</translation>
    </message>
    <message>
        <source>%1 行目: %2</source>
        <comment>%1 a line number of the file, %2 what is wrong there</comment>
        <translation>line %1: %2</translation>
    </message>
    <message>
        <source>daro の対局ファイルではありません</source>
        <comment>game file</comment>
        <translation>not a daro game file</translation>
    </message>
    <message>
        <source>別の版の対局ファイルです</source>
        <comment>game file</comment>
        <translation>a game file of another version</translation>
    </message>
    <message>
        <source>ファイルが %1 の行の前で終わっています</source>
        <comment>game file: %1 mode, human or level</comment>
        <translation>the file ends before its %1 line</translation>
    </message>
    <message>
        <source>&quot;human 番目&quot; の行のはずです (番目は 1～7)</source>
        <comment>game file</comment>
        <translation>expected &quot;human SEAT&quot;, SEAT 1..7</translation>
    </message>
    <message>
        <source>&quot;level K&quot; の行のはずです (K は 1～5)</source>
        <comment>game file</comment>
        <translation>expected &quot;level K&quot;, K 1..5</translation>
    </message>
    <message>
        <source>行が途中で切れています (行末がありません)</source>
        <comment>game file</comment>
        <translation>the line is cut off (no line end)</translation>
    </message>
    <message>
        <source>ファイルが 16 MiB より大きいです</source>
        <comment>game file</comment>
        <translation>the file is larger than 16 MiB</translation>
    </message>
    <message>
        <source>対局はもう終わっています</source>
        <comment>game file</comment>
        <translation>the game was already over</translation>
    </message>
    <message>
        <source>知らない記録です: &quot;%1&quot;</source>
        <comment>game file: %1 the start of the line</comment>
        <translation>unknown event &quot;%1&quot;</translation>
    </message>
    <message>
        <source>指す国が残っていません</source>
        <comment>game file</comment>
        <translation>no kingdom is left to move</translation>
    </message>
    <message>
        <source>手番が違います: %1番目 (%2) の番です</source>
        <comment>game file: %1 seat number, %2 its kingdom</comment>
        <translation>out of turn: seat %1 (%2) is to move</translation>
    </message>
    <message>
        <source>指し手の行には数が八つ要ります</source>
        <comment>game file</comment>
        <translation>a move has eight numbers</translation>
    </message>
    <message>
        <source>%2 手目のところが %1 手目になっています</source>
        <comment>game file: %1 the move number written, %2 the one due</comment>
        <translation>move number %1 where %2 was due</translation>
    </message>
    <message>
        <source>その番目はありません</source>
        <comment>game file</comment>
        <translation>no such seat</translation>
    </message>
    <message>
        <source>王を失った国は指さずに離脱します</source>
        <comment>game file</comment>
        <translation>a kingdom without its king leaves the game instead of moving</translation>
    </message>
    <message>
        <source>盤の外の桝です</source>
        <comment>game file</comment>
        <translation>a square off the board</translation>
    </message>
    <message>
        <source>その桝にその国のその駒はありません</source>
        <comment>game file</comment>
        <translation>no such piece of that kingdom on the square</translation>
    </message>
    <message>
        <source>行き先の桝にあるものが違います</source>
        <comment>game file</comment>
        <translation>the target square holds something else</translation>
    </message>
    <message>
        <source>指せない手です</source>
        <comment>game file</comment>
        <translation>an illegal move</translation>
    </message>
    <message>
        <source>out の行には番目 (1～7) を一つ書きます</source>
        <comment>game file</comment>
        <translation>an out names one seat 1..7</translation>
    </message>
    <message>
        <source>王があって駒が 10 より多い国は離脱しません</source>
        <comment>game file</comment>
        <translation>a kingdom with its king and more than 10 pieces left</translation>
    </message>
    <message>
        <source>pass の行には番目 (1～7) を一つ書きます</source>
        <comment>game file</comment>
        <translation>a pass names one seat 1..7</translation>
    </message>
    <message>
        <source>王を失った国はパスせずに離脱します</source>
        <comment>game file</comment>
        <translation>a kingdom without its king leaves the game instead of passing</translation>
    </message>
    <message>
        <source>指せる手があるのにパスしています</source>
        <comment>game file</comment>
        <translation>a pass with a legal move to make</translation>
    </message>
    <message>
        <source>win の行には番目 (1～7) を一つ書きます</source>
        <comment>game file</comment>
        <translation>a win names one seat 1..7</translation>
    </message>
    <message>
        <source>&quot;lost&quot; の後には何も書きません</source>
        <comment>game file</comment>
        <translation>&quot;lost&quot; stands alone</translation>
    </message>
    <message>
        <source>ここではまだ勝負がついていません</source>
        <comment>game file</comment>
        <translation>nobody has won or lost here</translation>
    </message>
    <message>
        <source>結果は &quot;%1&quot; のはずです</source>
        <comment>game file: %1 the result line due</comment>
        <translation>the result is &quot;%1&quot;</translation>
    </message>
    <message>
        <source>ファイルを開けません</source>
        <comment>game file</comment>
        <translation>the file cannot be opened</translation>
    </message>
    <message>
        <source>通常のファイルではありません</source>
        <comment>file</comment>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>ファイルを読めません</source>
        <comment>game file</comment>
        <translation>the file cannot be read</translation>
    </message>
    <message>
        <source>フォルダに書き込めません</source>
        <comment>game file</comment>
        <translation>the folder cannot be written to</translation>
    </message>
    <message>
        <source>ファイルを最後まで書き込めませんでした</source>
        <comment>game file</comment>
        <translation>the file could not be written completely</translation>
    </message>
    <message>
        <source>ファイルを置き換えられませんでした: %1</source>
        <comment>game file: %1 the system&apos;s message</comment>
        <translation>the file could not be put in place: %1</translation>
    </message>
    <message>
        <source>Direct Soundインターフェースが作成できません。</source>
        <comment>sound: no sound device</comment>
        <translation>The sound device cannot be opened; the game plays without sound.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <comment>sound: %1 a wave file, %2 why it cannot be played</comment>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>ファイルが大きすぎます (64 MiB まで)</source>
        <comment>sound</comment>
        <translation>the file is too large (64 MiB at most)</translation>
    </message>
    <message>
        <source>ファイルが見つかりません</source>
        <comment>sound</comment>
        <translation>the file is not there</translation>
    </message>
    <message>
        <source>ファイルを読む権限がありません</source>
        <comment>sound</comment>
        <translation>no permission to read the file</translation>
    </message>
    <message>
        <source>ファイルではなくフォルダです</source>
        <comment>sound</comment>
        <translation>a folder, not a file</translation>
    </message>
    <message>
        <source>ファイルが大きすぎます</source>
        <comment>sound</comment>
        <translation>the file is too large</translation>
    </message>
    <message>
        <source>ファイルを読めませんでした (エラー番号 %1)</source>
        <comment>sound: %1 the system&apos;s error number</comment>
        <translation>the file could not be read (error %1)</translation>
    </message>
    <message>
        <source>ファイルが空です</source>
        <comment>sound</comment>
        <translation>the file is empty</translation>
    </message>
    <message>
        <source>再生できる形式の音声ではありません</source>
        <comment>sound</comment>
        <translation>not a wave the game can play</translation>
    </message>
    <message numerus="yes">
        <source>手目</source>
        <comment>after the move number</comment>
        <translation>
            <numerusform>move</numerusform>
            <numerusform>moves</numerusform>
        </translation>
    </message>
    <message>
        <source>秦は脱落しました</source>
        <comment>box</comment>
        <translation>Qin has dropped out.</translation>
    </message>
    <message>
        <source>楚は脱落しました</source>
        <comment>box</comment>
        <translation>Chu has dropped out.</translation>
    </message>
    <message>
        <source>韓は脱落しました</source>
        <comment>box</comment>
        <translation>Han has dropped out.</translation>
    </message>
    <message>
        <source>斉は脱落しました</source>
        <comment>box</comment>
        <translation>Qi has dropped out.</translation>
    </message>
    <message>
        <source>魏は脱落しました</source>
        <comment>box</comment>
        <translation>Wei has dropped out.</translation>
    </message>
    <message>
        <source>趙は脱落しました</source>
        <comment>box</comment>
        <translation>Zhao has dropped out.</translation>
    </message>
    <message>
        <source>燕は脱落しました</source>
        <comment>box</comment>
        <translation>Yan has dropped out.</translation>
    </message>
    <message>
        <source>人間の国はすべて脱落しました</source>
        <comment>box</comment>
        <translation>Every human kingdom has dropped out.</translation>
    </message>
    <message>
        <source>脱落</source>
        <comment>title</comment>
        <translation>Dropped out</translation>
    </message>
    <message>
        <source>王手</source>
        <comment>label: another kingdom can take the human&apos;s king</comment>
        <translation>Check</translation>
    </message>
    <message>
        <source>前回の対局はありません</source>
        <comment>box: no game was kept from last time</comment>
        <translation>No game was kept from last time</translation>
    </message>
    <message>
        <source>前回の続き</source>
        <comment>title</comment>
        <translation>Continue last game</translation>
    </message>
    <message>
        <source>前回の対局を開けません: %1</source>
        <comment>box: %1 why the game kept from last time cannot be opened</comment>
        <translation>The game kept from last time cannot be opened: %1</translation>
    </message>
    <message>
        <source>&quot;mode one-player&quot;、&quot;mode seven-players&quot; か &quot;mode free&quot; の行のはずです</source>
        <comment>game file</comment>
        <translation>expected &quot;mode one-player&quot;, &quot;mode seven-players&quot; or &quot;mode free&quot;</translation>
    </message>
    <message>
        <source>&quot;seats&quot; と七つの指し手の行のはずです</source>
        <comment>game file</comment>
        <translation>expected &quot;seats&quot; and seven players</translation>
    </message>
    <message>
        <source>指し手は human、level1～level5 か random です</source>
        <comment>game file</comment>
        <translation>a player is human, level1..level5 or random</translation>
    </message>
    <message>
        <source>駒が 10 以下の国は指さずに離脱します</source>
        <comment>game file</comment>
        <translation>a kingdom with 10 pieces or fewer leaves the game instead of moving</translation>
    </message>
    <message>
        <source>王がほかの国の利く桝に立つことになります</source>
        <comment>game file</comment>
        <translation>the king would stand where another kingdom reaches</translation>
    </message>
    <message>
        <source>サーバーの卓では手を戻せません。戻・進は局面を見るだけで、盤をクリックするか「今の局面へ」で対局に戻ります</source>
        <comment>戻る</comment>
        <translation>Stepping back is not possible at a server table. Back and Forward only show earlier positions; click the board or “Back to now” to return to the game.</translation>
    </message>
    <message>
        <source>ヒント</source>
        <comment>title</comment>
        <translation>Hint</translation>
    </message>
    <message>
        <source>この卓ではヒントは使えません</source>
        <comment>box: the server table was created without hints</comment>
        <translation>Hints are off at this table: it was created without them.</translation>
    </message>
</context>
<context>
    <name>Guide</name>
    <message>
        <source>行</source>
        <translation>Envoy</translation>
    </message>
    <message>
        <source>八方向に何桝でも、空いた桝へだけ進みます。駒は取れず、取られることもありません。</source>
        <translation>Moves any distance in the eight directions, onto empty squares only. It never captures and can never be captured.</translation>
    </message>
    <message>
        <source>刀</source>
        <translation>Saber</translation>
    </message>
    <message>
        <source>斜めに一桝進みます。</source>
        <translation>Moves one square diagonally.</translation>
    </message>
    <message>
        <source>剣</source>
        <translation>Sword</translation>
    </message>
    <message>
        <source>縦か横に一桝進みます。</source>
        <translation>Moves one square forward, backward or sideways.</translation>
    </message>
    <message>
        <source>弩</source>
        <translation>Crossbow</translation>
    </message>
    <message>
        <source>八方向に五桝まで進みます。</source>
        <translation>Moves up to five squares in the eight directions.</translation>
    </message>
    <message>
        <source>騎</source>
        <translation>Horseman</translation>
    </message>
    <message>
        <source>空いた隣の桝へ一歩出て、そこから斜めに滑り、四桝離れた輪の上に着きます。途中に駒があると通れません。</source>
        <translation>Steps onto an empty neighbouring square, then slides diagonally from there onto the ring of squares four away. A piece on the way blocks it.</translation>
    </message>
    <message>
        <source>弓</source>
        <translation>Bow</translation>
    </message>
    <message>
        <source>八方向に四桝まで進みます。</source>
        <translation>Moves up to four squares in the eight directions.</translation>
    </message>
    <message>
        <source>砲</source>
        <translation>Cannon</translation>
    </message>
    <message>
        <source>縦横に何桝でも、空いた桝へ進みます。駒を取るときは、間にあるちょうど一つの駒(どの国の駒でも)を飛び越えます。</source>
        <translation>Moves any distance straight onto empty squares. To capture, it jumps over exactly one piece in between, of any kingdom (its screen).</translation>
    </message>
    <message>
        <source>偏</source>
        <translation>Lieutenant</translation>
    </message>
    <message>
        <source>斜めに何桝でも進みます。</source>
        <translation>Moves any distance diagonally.</translation>
    </message>
    <message>
        <source>裨</source>
        <translation>Adjutant</translation>
    </message>
    <message>
        <source>縦か横に何桝でも進みます。</source>
        <translation>Moves any distance forward, backward or sideways.</translation>
    </message>
    <message>
        <source>王</source>
        <translation>King</translation>
    </message>
    <message>
        <source>八方向に何桝でも進みます。駒の面には国の名が書いてあります。ほかの国の駒や周が利いている桝へは動けません。図の×の桝は、斉の剣が利いているので王は行けません。</source>
        <translation>Moves any distance in the eight directions. Its face bears its kingdom’s name. It may not move onto a square that a piece of another kingdom, or the centre piece, reaches. In the diagram, Qi’s Sword reaches the square marked ×, so the King may not go there.</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>遊び方</source>
        <translation>How to play</translation>
    </message>
    <message>
        <source>目的と三つの勝ち方</source>
        <translation>The goal and the three wins</translation>
    </message>
    <message>
        <source>七つの国、秦・楚・韓・斉・魏・趙・燕が 19 × 19 の盤を囲み、順に一手ずつ指します。取った駒は盤から消えます。次のどれかを最初に果たした国の勝ちです。</source>
        <translation>Seven kingdoms — Qin, Chu, Han, Qi, Wei, Zhao and Yan — share a 19 × 19 board and move in turn, one move each. Captured pieces leave the game. The first kingdom to do one of these wins:</translation>
    </message>
    <message>
        <source>王を二つ取る</source>
        <translation>capture two kings;</translation>
    </message>
    <message>
        <source>駒を三十取る</source>
        <translation>capture thirty pieces;</translation>
    </message>
    <message>
        <source>駒を十九取り、その中に王が一つある</source>
        <translation>capture nineteen pieces, one of them a king.</translation>
    </message>
    <message>
        <source>ほかの国がみな盤から去ったときも、残った国の勝ちです。一人で遊ぶときは、あなたの国が離脱するか駒をすべて失うと負けです。どの国も動けないまま一巡すると、勝ち負けなしで終わります。</source>
        <translation>A kingdom also wins when every other kingdom has left the board. Playing alone, you lose when your kingdom leaves the game or loses its last piece. When a whole round goes by in which no kingdom can move, the game ends without a winner.</translation>
    </message>
    <message>
        <source>手番と離脱</source>
        <translation>Turns and dropping out</translation>
    </message>
    <message>
        <source>自分の駒をクリックし、次に行き先の桝をクリックします。「移動指導」がオンなら、行ける桝が白い枠で示されます。「戻」と「進」で一手ずつ戻り、進みます。</source>
        <translation>Click one of your pieces, then the square it should go to. With Options → Show moves on, the squares it can reach are framed in white. Back and Forward step through the game one move at a time.</translation>
    </message>
    <message>
        <source>王を取られた国は、次に番が来たとき点滅して盤から去ります(離脱)。去った駒は誰の取り駒にもなりません。コンピュータの国は、駒が十以下になったときにも離脱します。指せる手のない国はパスします。</source>
        <translation>A kingdom whose king has been captured blinks and leaves the board when its turn next comes (it drops out); its pieces count as nobody’s captures. Computer kingdoms also drop out when they are down to ten pieces or fewer. A kingdom with no legal move passes.</translation>
    </message>
    <message>
        <source>中央の駒「周」</source>
        <translation>The centre piece, Zhou</translation>
    </message>
    <message>
        <source>盤の真ん中の周はどの国のものでもありません。動かず、取られず、その桝には誰も入れません。砲はこれを飛び越えて駒を取れます。</source>
        <translation>Zhou, in the middle of the board, belongs to no kingdom. It never moves and cannot be captured, and no piece may enter its square. A cannon may jump over it to capture.</translation>
    </message>
    <message>
        <source>駒の動き</source>
        <translation>How the pieces move</translation>
    </message>
    <message>
        <source>どの駒も、行く手に駒があればその手前で止まります。それがほかの国の駒なら取ることもできます(行と周は取れません)。図は小さな盤の上の例です。緑の点は進める桝、赤い枠は取れる駒です。</source>
        <translation>Every piece stops at the first piece in its way, and may capture it if it belongs to another kingdom (an envoy or the centre piece cannot be captured). Each diagram is an example on a small board: a green dot marks a square the piece can move to, a red frame a piece it can capture.</translation>
    </message>
    <message>
        <source>盤の横には、それぞれの国が取った駒の数と、そのうちの王の数が出ます(「ｵﾌﾟｼｮﾝ」→「持駒数表示」)。</source>
        <translation>Beside the board, each kingdom shows how many pieces it has captured and, under (K), how many of them were kings (Options → Capture counts).</translation>
    </message>
    <message>
        <source>秦・楚・韓・斉・魏・趙・燕の順に指し、燕の次はまた秦です。「対局」→「1_PLAY」で国を選ぶと、あなたがその国を、コンピュータがほかの六国を指します。「7_PLAY」では七人が一つのマウスで順に指します。「自由対局...」では、国ごとに人間かコンピュータ(レベルも国ごと)を選べます。</source>
        <translation>The kingdoms move in the order Qin, Chu, Han, Qi, Wei, Zhao, Yan, and after Yan comes Qin again. Choose a kingdom under Game → New game → One player to play it against six computer kingdoms; with Seven players, seven people share the mouse and move in turn. Free seating lets you choose, kingdom by kingdom, a human or the computer at a level of its own.</translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>日本語</source>
        <translation>English</translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>対局</source>
        <translation>Game</translation>
    </message>
    <message>
        <source>対局</source>
        <comment>the submenu of the kinds of game</comment>
        <translation>Kind of game</translation>
    </message>
    <message>
        <source>1_PLAY</source>
        <translation>One player</translation>
    </message>
    <message>
        <source>１番目(秦)</source>
        <translation>1st (Qin)</translation>
    </message>
    <message>
        <source>2番目(楚)</source>
        <translation>2nd (Chu)</translation>
    </message>
    <message>
        <source>3番目(韓)</source>
        <translation>3rd (Han)</translation>
    </message>
    <message>
        <source>4番目(斉)</source>
        <translation>4th (Qi)</translation>
    </message>
    <message>
        <source>5番目(魏)</source>
        <translation>5th (Wei)</translation>
    </message>
    <message>
        <source>6番目(趙)</source>
        <translation>6th (Zhao)</translation>
    </message>
    <message>
        <source>7番目(燕)</source>
        <translation>7th (Yan)</translation>
    </message>
    <message>
        <source>7_PLAY</source>
        <translation>Seven players</translation>
    </message>
    <message>
        <source>COM対局ﾚﾍﾞﾙ</source>
        <translation>Computer level</translation>
    </message>
    <message>
        <source>LEVEL1</source>
        <translation>Level 1</translation>
    </message>
    <message>
        <source>LEVEL2</source>
        <translation>Level 2</translation>
    </message>
    <message>
        <source>LEVEL3</source>
        <translation>Level 3</translation>
    </message>
    <message>
        <source>LEVEL4</source>
        <translation>Level 4</translation>
    </message>
    <message>
        <source>終わり</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>局面</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>最初</source>
        <translation>Back to the start</translation>
    </message>
    <message>
        <source>保存...</source>
        <translation>Save...</translation>
    </message>
    <message>
        <source>開く...</source>
        <translation>Open...</translation>
    </message>
    <message>
        <source>戻</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>進</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>ｵﾌﾟｼｮﾝ</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>移動指導</source>
        <translation>Outline legal squares</translation>
    </message>
    <message>
        <source>ｱｲｺﾝ表示</source>
        <translation>Turn icons</translation>
    </message>
    <message>
        <source>持駒数表示</source>
        <translation>Capture counts</translation>
    </message>
    <message>
        <source>背景画</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>緑</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>畳</source>
        <translation>Tatami</translation>
    </message>
    <message>
        <source>竹</source>
        <translation>Bamboo</translation>
    </message>
    <message>
        <source>宇宙</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>煉瓦</source>
        <translation>Brick</translation>
    </message>
    <message>
        <source>BGM</source>
        <translation>Music</translation>
    </message>
    <message>
        <source>その他</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>遊び方</source>
        <translation>How to play</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About daro</translation>
    </message>
    <message>
        <source>自由対局...</source>
        <translation>Free seating...</translation>
    </message>
    <message>
        <source>ネット対局...</source>
        <translation>Network game...</translation>
    </message>
    <message>
        <source>新しい対局</source>
        <translation>New game</translation>
    </message>
    <message>
        <source>前回の続き</source>
        <translation>Continue last game</translation>
    </message>
    <message>
        <source>自分の番まで戻る</source>
        <translation>Back to my turn</translation>
    </message>
    <message>
        <source>棋譜</source>
        <translation>Move list</translation>
    </message>
    <message>
        <source>手の表示</source>
        <translation>Show recent moves</translation>
    </message>
    <message>
        <source>王手の表示</source>
        <translation>Show check</translation>
    </message>
    <message>
        <source>速さ</source>
        <translation>Pace</translation>
    </message>
    <message>
        <source>標準</source>
        <translation>Classic</translation>
    </message>
    <message>
        <source>速い</source>
        <translation>Fast</translation>
    </message>
    <message>
        <source>最速</source>
        <translation>Fastest</translation>
    </message>
    <message>
        <source>LEVEL5</source>
        <translation>Level 5</translation>
    </message>
    <message>
        <source>ヒント</source>
        <translation>Hint</translation>
    </message>
</context>
<context>
    <name>MoveList</name>
    <message>
        <source>%1%2</source>
        <comment>a square: %1 the column&apos;s number, %2 the row&apos;s numeral</comment>
        <translation>%1-%2</translation>
    </message>
    <message>
        <source>  %1 脱落</source>
        <comment>a kingdom drops out: %1 the kingdom</comment>
        <translation>  %1 drops out</translation>
    </message>
    <message>
        <source>  %1 パス</source>
        <comment>a kingdom passes: %1 the kingdom</comment>
        <translation>  %1 passes</translation>
    </message>
    <message>
        <source>%1 %2 %3 %4→%5</source>
        <comment>a move: %1 its number, %2 the kingdom, %3 the piece, %4 from, %5 to</comment>
        <translation>%1 %2 %3 %4 → %5</translation>
    </message>
    <message>
        <source> ×%1%2</source>
        <comment>after a move: %1 the kingdom, %2 the piece it took</comment>
        <translation>, takes %1 %2</translation>
    </message>
</context>
<context>
    <name>NetWindow</name>
    <message>
        <source>ネット対局</source>
        <translation>Network game</translation>
    </message>
    <message>
        <source>サーバー</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>人間</source>
        <translation>Human</translation>
    </message>
    <message>
        <source>卓を作る</source>
        <translation>Create a table</translation>
    </message>
    <message>
        <source>コード</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>空いている席</source>
        <translation>First free seat</translation>
    </message>
    <message>
        <source>参加</source>
        <translation>Join</translation>
    </message>
    <message>
        <source>観戦</source>
        <translation>Watch</translation>
    </message>
    <message>
        <source>チャット</source>
        <translation>Chat</translation>
    </message>
    <message>
        <source>接続中…</source>
        <translation>Connecting…</translation>
    </message>
    <message>
        <source>観戦中: %1</source>
        <translation>Watching %1</translation>
    </message>
    <message>
        <source>卓 %1: あなたは%2</source>
        <translation>Table %1: you are %2</translation>
    </message>
    <message>
        <source>対局は終わりました</source>
        <translation>The game is over</translation>
    </message>
    <message>
        <source>サーバーが断りました: %1</source>
        <translation>The server refused: %1</translation>
    </message>
    <message>
        <source>接続が切れました</source>
        <translation>The connection was lost</translation>
    </message>
    <message>
        <source>(空席)</source>
        <translation>(free)</translation>
    </message>
    <message>
        <source>接続中</source>
        <translation>connected</translation>
    </message>
    <message>
        <source>切断: あと%1秒</source>
        <translation>away: %1 s left</translation>
    </message>
    <message>
        <source>切断</source>
        <translation>away</translation>
    </message>
    <message>
        <source>(COMが代打ち)</source>
        <translation>(the computer plays)</translation>
    </message>
    <message>
        <source>← あなた</source>
        <translation>← you</translation>
    </message>
    <message>
        <source>手番: %1</source>
        <translation>To move: %1</translation>
    </message>
    <message>
        <source>１番目(秦)</source>
        <translation>1st (Qin)</translation>
    </message>
    <message>
        <source>2番目(楚)</source>
        <translation>2nd (Chu)</translation>
    </message>
    <message>
        <source>3番目(韓)</source>
        <translation>3rd (Han)</translation>
    </message>
    <message>
        <source>4番目(斉)</source>
        <translation>4th (Qi)</translation>
    </message>
    <message>
        <source>5番目(魏)</source>
        <translation>5th (Wei)</translation>
    </message>
    <message>
        <source>6番目(趙)</source>
        <translation>6th (Zhao)</translation>
    </message>
    <message>
        <source>7番目(燕)</source>
        <translation>7th (Yan)</translation>
    </message>
    <message>
        <source>秦</source>
        <translation>Qin</translation>
    </message>
    <message>
        <source>楚</source>
        <translation>Chu</translation>
    </message>
    <message>
        <source>韓</source>
        <translation>Han</translation>
    </message>
    <message>
        <source>斉</source>
        <translation>Qi</translation>
    </message>
    <message>
        <source>魏</source>
        <translation>Wei</translation>
    </message>
    <message>
        <source>趙</source>
        <translation>Zhao</translation>
    </message>
    <message>
        <source>燕</source>
        <translation>Yan</translation>
    </message>
    <message>
        <source>サーバーが要求を読めませんでした</source>
        <translation>The server could not read the request</translation>
    </message>
    <message>
        <source>要求が大きすぎます</source>
        <translation>The request was too large</translation>
    </message>
    <message>
        <source>このサーバーはその要求を知りません</source>
        <translation>This server does not know that request</translation>
    </message>
    <message>
        <source>接続の挨拶が済んでいません</source>
        <translation>The connection has not said hello yet</translation>
    </message>
    <message>
        <source>サーバーの通信の版がこのプログラムと合いません</source>
        <translation>The server speaks another version of the protocol than this program</translation>
    </message>
    <message>
        <source>名前かチャットが空か長すぎるか、使えない文字を含んでいます</source>
        <translation>The name or chat line is empty, too long, or holds characters that are not allowed</translation>
    </message>
    <message>
        <source>接続の挨拶は一度だけです</source>
        <translation>The connection said hello twice</translation>
    </message>
    <message>
        <source>そのコードの卓はありません</source>
        <translation>There is no table with that code</translation>
    </message>
    <message>
        <source>もう卓についています。先に卓を離れて下さい</source>
        <translation>You are already at a table — leave it first</translation>
    </message>
    <message>
        <source>卓についていません</source>
        <translation>You are not at a table</translation>
    </message>
    <message>
        <source>その席はもう埋まっています</source>
        <translation>That seat is already taken</translation>
    </message>
    <message>
        <source>その卓に空いている席はありません</source>
        <translation>Every seat at that table is taken</translation>
    </message>
    <message>
        <source>その卓の対局は終わっています</source>
        <translation>The game at that table is over</translation>
    </message>
    <message>
        <source>その卓の観戦者は満員です</source>
        <translation>That table has as many spectators as it takes</translation>
    </message>
    <message>
        <source>この席の鍵が通りませんでした。席はもうあなたのものではありません</source>
        <translation>The server did not accept this seat&apos;s token — the seat is no longer yours</translation>
    </message>
    <message>
        <source>別の窓がこの席につきました</source>
        <translation>Another window has taken this seat</translation>
    </message>
    <message>
        <source>観戦中は指せません</source>
        <translation>Spectators cannot move</translation>
    </message>
    <message>
        <source>対局は行われていません</source>
        <translation>The game is not running</translation>
    </message>
    <message>
        <source>あなたの番ではありません</source>
        <translation>It is not your turn</translation>
    </message>
    <message>
        <source>あなたの国の駒ではありません</source>
        <translation>That is not your kingdom&apos;s piece</translation>
    </message>
    <message>
        <source>その駒はそこへは動けません</source>
        <translation>That piece cannot move there</translation>
    </message>
    <message>
        <source>王が他国の駒の利きに入ります</source>
        <translation>The king would stand where another kingdom&apos;s piece reaches</translation>
    </message>
    <message>
        <source>送るのが速すぎます。少し待って下さい</source>
        <translation>Too many messages at once — wait a moment</translation>
    </message>
    <message>
        <source>このアドレスからの接続が多すぎます</source>
        <translation>Too many connections from this address</translation>
    </message>
    <message>
        <source>サーバーの卓がいっぱいです。後でもう一度どうぞ</source>
        <translation>The server holds as many tables as it can — try again later</translation>
    </message>
    <message>
        <source>このアドレスから作った、終わっていない卓が多すぎます</source>
        <translation>Too many unfinished tables were created from this address</translation>
    </message>
    <message>
        <source>サーバーが記録できませんでした。何も変わっていません</source>
        <translation>The server could not store the change; nothing happened</translation>
    </message>
    <message>
        <source>人間の席が全部埋まると対局が始まります。あと1人を待っています</source>
        <translation>The game starts when every human seat is taken — waiting for 1 more player</translation>
    </message>
    <message>
        <source>人間の席が全部埋まると対局が始まります。あと%1人を待っています</source>
        <translation>The game starts when every human seat is taken — waiting for %1 more players</translation>
    </message>
    <message>
        <source>今の局面へ</source>
        <translation>Back to now</translation>
    </message>
    <message>
        <source>再接続しました。%1</source>
        <translation>Reconnected. %1</translation>
    </message>
    <message>
        <source>接続不明</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>卓 %1 に戻る</source>
        <translation>Rejoin table %1</translation>
    </message>
    <message>
        <source>新しい卓の席を選ぶ</source>
        <translation>Choose the seats of a new table</translation>
    </message>
    <message>
        <source>%1日%2時間</source>
        <translation>%1 d %2 h</translation>
    </message>
    <message>
        <source>あなたの番です</source>
        <translation>Your move</translation>
    </message>
    <message>
        <source>参加者を待っています</source>
        <translation>waiting for players</translation>
    </message>
    <message>
        <source>終局</source>
        <translation>over</translation>
    </message>
    <message>
        <source>残り %1</source>
        <translation>%1 left</translation>
    </message>
    <message>
        <source>対局はまだ終わっていません</source>
        <translation>The game is not over yet</translation>
    </message>
    <message>
        <source>サーバーに接続できません</source>
        <translation>Could not reach the server</translation>
    </message>
    <message>
        <source>― %1は3手続けて時間切れでした。プレイヤーが戻るまでコンピュータが指します</source>
        <translation>― %1 ran out of time three moves in a row; the computer plays it until its player comes back</translation>
    </message>
    <message>
        <source>― %1はまたプレイヤーが指します</source>
        <translation>― %1 is played by its player again</translation>
    </message>
    <message>
        <source>時間切れ %1回</source>
        <translation>out of time %1×</translation>
    </message>
    <message>
        <source>その場で</source>
        <translation>Live</translation>
    </message>
    <message>
        <source>手番ごと</source>
        <translation>Turn-based</translation>
    </message>
    <message>
        <source>一手の時間</source>
        <translation>Time per move</translation>
    </message>
    <message>
        <source>進め方</source>
        <translation>Pace</translation>
    </message>
    <message>
        <source>公開の卓にする</source>
        <translation>List the table in the lobby</translation>
    </message>
    <message>
        <source>ヒントを許す</source>
        <translation>Allow hints</translation>
    </message>
    <message>
        <source>%1が再戦を申し込みました（卓 %2）</source>
        <translation>%1 offers a rematch (table %2)</translation>
    </message>
    <message>
        <source>%1が再戦を受けました（卓 %2）</source>
        <translation>%1 accepted the rematch (table %2)</translation>
    </message>
    <message>
        <source>再戦</source>
        <translation>Rematch</translation>
    </message>
    <message>
        <source>再戦を受ける</source>
        <translation>Accept the rematch</translation>
    </message>
    <message>
        <source>1日</source>
        <translation>1 day</translation>
    </message>
    <message>
        <source>%1日</source>
        <translation>%1 days</translation>
    </message>
    <message>
        <source>1時間</source>
        <translation>1 hour</translation>
    </message>
    <message>
        <source>%1時間</source>
        <translation>%1 hours</translation>
    </message>
    <message>
        <source>1分</source>
        <translation>1 minute</translation>
    </message>
    <message>
        <source>%1分</source>
        <translation>%1 minutes</translation>
    </message>
    <message>
        <source>進め方: 手番ごと、一手 %1</source>
        <translation>Pace: turn-based, %1 a move</translation>
    </message>
    <message>
        <source>進め方: その場で</source>
        <translation>Pace: live</translation>
    </message>
    <message>
        <source>%1（ヒントあり）</source>
        <translation>%1 (hints allowed)</translation>
    </message>
    <message>
        <source>クイック対局</source>
        <translation>Quick play</translation>
    </message>
    <message>
        <source>再接続しています…（%1回目）</source>
        <translation>Reconnecting… (attempt %1)</translation>
    </message>
    <message>
        <source>接続が切れました。再接続まで %1 秒（%2回目）</source>
        <translation>The connection was lost. Reconnecting in %1 s (attempt %2)</translation>
    </message>
    <message>
        <source>公開の卓を見る</source>
        <translation>Show the public tables</translation>
    </message>
    <message>
        <source>卓 %1  空席 %2  %3</source>
        <translation>Table %1  %2 free  %3</translation>
    </message>
    <message>
        <source>卓 %1  対局中  %2</source>
        <translation>Table %1  being played  %2</translation>
    </message>
    <message>
        <source>公開の卓はありません</source>
        <translation>No public tables at the moment</translation>
    </message>
    <message>
        <source>手番ごと、一手 %1</source>
        <translation>turn-based, %1 a move</translation>
    </message>
</context>
<context>
    <name>Title</name>
    <message>
        <source>七国将棋</source>
        <translation>Seven Kingdoms</translation>
    </message>
</context>
</TS>
