<?php
// One editor saving one game again and again: php save_loop.php URL COOKIE TOKEN GAME COUNT
// Save k (from 1) enters k moves; exits 1 when any save is not answered {"ok":true}.
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
}
