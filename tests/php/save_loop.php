<?php
// One editor saving one game again and again: php save_loop.php URL COOKIE TOKEN GAME COUNT
// Save k (from 1) enters k moves. After each save the round's PGN file, read as the public
// reads it, must hold that game as just saved: another editor's save may not take it back.
// Exits 1 when a save is not answered {"ok":true} or its game is not in the file.
[, $url, $cookie, $token, $game, $count] = $argv;
for ($k = 1; $k <= (int) $count; $k++) {
    $moves = implode(' ', array_map(function ($n) { return "$n. a3"; }, range(1, $k)));
    $context = stream_context_create(['http' => [
        'method' => 'POST', 'ignore_errors' => true, 'timeout' => 30,
        'header' => "Cookie: $cookie\r\nContent-Type: application/x-www-form-urlencoded",
        'content' => http_build_query(['file' => 'round1_pgn.html', 'game' => $game,
                                       'moves' => $moves, 'result' => '*', 'token' => $token]),
    ]]);
    $answer = file_get_contents($url, false, $context);
    if ($answer !== "{\"ok\":true}\n") {
        fwrite(STDERR, "save $k of game $game: $answer\n");
        exit(1);
    }
    $pgn = file_get_contents(dirname($url) . '/round1.pgn');
    $sections = explode("\r\n\r\n", (string) $pgn);
    if (substr($sections[(int) $game] ?? '', -strlen("\r\n$moves *")) !== "\r\n$moves *") {
        fwrite(STDERR, "save $k of game $game was taken back by another save\n");
        exit(1);
    }
}
