<?php
// The games of a round's PGN file or viewer page, and saving one of them. Included by
// pgn_entry.php; on its own it does nothing.
//
// Which part of a file is game N is decided by one rule, which the public viewer follows as
// well (splitGames in ltpgnviewer.js), so that the game an organiser saves is the game the
// viewer showed. Both are tested on the same files (tests/pgnviewer/fixtures). The rule:
// - A file is read line by line. A line ends at LF; a CR before the LF belongs to the line's
//   end. Blanks are spaces and tabs. A UTF-8 byte order mark before the first line is no text.
// - A viewer page whose first line is "<head>" starts with its head, up to and including its
//   "</head>" line; the head is skipped. After it, the page holds the PGN text with "&", "<"
//   and ">" written as "&amp;", "&lt;" and "&gt;": every line is read with these three undone
//   (in one pass, so "&amp;lt;" reads "&lt;") before anything else. A .pgn file is read as it is.
// - Comments run from "{" to the next "}" (across lines) and from ";" to the end of its line.
//   A line that starts inside a comment is never a tag line.
// - A tag line: blanks, "[", a name of letters, digits and "_", blanks, a value from the
//   first '"' to the last '"' of the line, "]", blanks. In the value '\"' stands for '"' and
//   '\\' for '\' (as PGN escapes them); any other backslash stands for itself.
// - A tag line starts a new game when there is no game yet, when the game so far has move
//   text (anything outside comments and blanks), or when the game so far already has a tag
//   of that name. Every other line belongs to the game before it; blank lines and comments
//   between tags therefore split nothing. Lines before the first game belong to no game.
// - A game's move text is its lines after its last tag line, from the first to the last of
//   them that is not blank (the blank lines around it belong to the layout, and stay).

if (realpath($_SERVER['SCRIPT_FILENAME'] ?? '') === realpath(__FILE__)) {
    require_once __DIR__ . '/pgn_entry.php';    // the headers that every answer carries
    pw_headers();
    http_response_code(404);
    exit;
}

const PW_TAG_LINE = '/\A[ \t]*\[([A-Za-z0-9_]+)[ \t]+"(.*)"[ \t]*\][ \t]*\z/s';
const PW_HEAD_START = '/\A[ \t]*<head>[ \t]*\z/i';
const PW_HEAD_END = '/\A[ \t]*<\/head>[ \t]*\z/i';
const PW_PAGE_ESCAPES = ['&' => '&amp;', '<' => '&lt;', '>' => '&gt;'];

// A tag's value as written between its quotes, decoded.
function pw_tag_value(string $written): string
{
    return preg_replace('/\\\\(["\\\\])/', '$1', $written);
}

// Reads one line (outside a tag) for comments; says whether it holds move text. $inComment
// carries an open "{" comment from line to line.
function pw_scan_line(string $line, bool &$inComment): bool
{
    $moves = false;
    for ($i = 0, $n = strlen($line); $i < $n; $i++) {
        $c = $line[$i];
        if ($inComment) {
            $inComment = $c !== '}';
        } elseif ($c === '{') {
            $inComment = true;
        } elseif ($c === ';') {
            break;
        } elseif ($c !== ' ' && $c !== "\t") {
            $moves = true;
        }
    }
    return $moves;
}

// The games of a file, in order. Each game: 'start' and 'end' (byte offsets of its first
// tag line and of the next game, or the file's end); 'tags', each with 'name', 'value'
// (decoded), 'start' and 'end' (the line without its line end) and 'next' (after its line
// end); 'moves', with the 'start' of its move text's first line and the 'end' of its last
// line (without its line end), or null when it has no move text.
function pw_split_games(string $text, bool $viewerPage): array
{
    $games = [];
    $game = null;
    $inComment = false;
    $inHead = false;
    $length = strlen($text);
    for ($k = 0, $at = 0; $at < $length; $k++, $at = $next) {
        $lf = strpos($text, "\n", $at);
        $next = $lf === false ? $length : $lf + 1;
        $end = $lf === false ? $length : ($lf > $at && $text[$lf - 1] === "\r" ? $lf - 1 : $lf);
        $line = substr($text, $at, $end - $at);
        if ($k === 0 && strncmp($line, "\xEF\xBB\xBF", 3) === 0) {
            $line = substr($line, 3);
        }
        if ($viewerPage && ($k === 0 ? preg_match(PW_HEAD_START, $line) : $inHead)) {
            $inHead = !preg_match(PW_HEAD_END, $line);
            continue;
        }
        if ($viewerPage) {
            $line = strtr($line, array_flip(PW_PAGE_ESCAPES));
        }
        if (!$inComment && preg_match(PW_TAG_LINE, $line, $m)) {
            if ($game === null || $game['hasMoves'] || isset($game['names'][$m[1]])) {
                if ($game !== null) {
                    $game['end'] = $at;
                    $games[] = $game;
                }
                $game = ['start' => $at, 'end' => $length, 'tags' => [], 'names' => [],
                         'hasMoves' => false, 'moves' => null];
            }
            $game['tags'][] = ['name' => $m[1], 'value' => pw_tag_value($m[2]), 'start' => $at,
                               'end' => $end, 'next' => $next];
            $game['names'][$m[1]] = true;
            $game['moves'] = null;
            continue;
        }
        $moves = pw_scan_line($line, $inComment);
        if ($game !== null) {
            $game['hasMoves'] = $game['hasMoves'] || $moves;
            if (strspn($line, " \t") !== strlen($line)) {
                $game['moves'] = ['start' => $game['moves']['start'] ?? $at, 'end' => $end];
            }
        }
    }
    if ($game !== null) {
        $games[] = $game;
    }
    return array_map(function (array $g): array {
        unset($g['names'], $g['hasMoves']);
        return $g;
    }, $games);
}

// A game's tag value by name, or null.
function pw_game_tag(array $game, string $name): ?string
{
    foreach ($game['tags'] as $tag) {
        if ($tag['name'] === $name) {
            return $tag['value'];
        }
    }
    return null;
}

// The text with game $index (from 0) given new moves and result: its Result tag line (or a
// new one after its last tag) and its move text (or a new line after its tags) are
// replaced by one line each, every other byte stays. Null when there is no such game.
function pw_replace_game(string $text, int $index, string $moves, string $result,
                         bool $viewerPage = false): ?string
{
    $games = pw_split_games($text, $viewerPage);
    if ($index < 0 || $index >= count($games)) {
        return null;
    }
    $game = $games[$index];
    $last = end($game['tags']);
    $eol = substr($text, $last['end'], $last['next'] - $last['end']);
    if ($eol === '') {      // the file ends with the game's last tag line
        $eol = strpos($text, "\r\n") !== false ? "\r\n" : "\n";
    }
    $resultLine = '[Result "' . $result . '"]';
    $moveLine = trim($moves === '' ? $result : $moves . ' ' . $result);
    if ($viewerPage) {
        $resultLine = strtr($resultLine, PW_PAGE_ESCAPES);
        $moveLine = strtr($moveLine, PW_PAGE_ESCAPES);
    }
    $head = substr($text, 0, $last['end']);
    $found = false;
    foreach ($game['tags'] as $tag) {
        if ($tag['name'] === 'Result') {
            $head = substr($head, 0, $tag['start']) . $resultLine . substr($head, $tag['end']);
            $found = true;
        }
    }
    if (!$found) {
        $head .= $eol . $resultLine;
    }
    if ($game['moves'] === null) {
        return $head . $eol . $moveLine . substr($text, $last['end']);
    }
    return $head . substr($text, $last['end'], $game['moves']['start'] - $last['end']) . $moveLine .
           substr($text, $game['moves']['end']);
}

// Writes a file through a temporary file in its folder and a rename.
function pw_write_atomically(string $path, string $content): bool
{
    $temp = dirname($path) . '/.ht-pairweb-' . bin2hex(random_bytes(6)) . '.tmp';
    if (file_put_contents($temp, $content) !== strlen($content)) {
        @unlink($temp);
        return false;
    }
    if (!@rename($temp, $path)) {
        @unlink($temp);
        return false;
    }
    return true;
}

// Saves one game into the round's PGN file and viewer page, under an exclusive lock so that
// two editors' saves follow one another. Game $game must be the same board in both files
// (its Round, White and Black tags), or nothing is saved: a file edited by hand must not
// take another game's moves. Returns null, or why nothing was saved.
function pw_save_game(string $dir, string $page, int $game, string $moves, string $result): ?string
{
    $lock = fopen($dir . '/.ht-pairweb.lock', 'c');
    if ($lock === false || !flock($lock, LOCK_EX)) {
        return 'The games cannot be locked for saving.';
    }
    try {
        $paths = [$dir . '/' . pw_pgn_name($page), $dir . '/' . $page];
        $texts = [];
        $boards = [];
        foreach ($paths as $n => $path) {
            $text = file_get_contents($path);
            if ($text === false) {
                return 'The games cannot be read.';
            }
            $viewerPage = $n === 1;
            $games = pw_split_games($text, $viewerPage);
            $new = pw_replace_game($text, $game, $moves, $result, $viewerPage);
            if ($new === null) {
                return 'There is no such game in this round.';
            }
            $boards[] = array_map(function (string $name) use ($games, $game): ?string {
                return pw_game_tag($games[$game], $name);
            }, ['Round', 'White', 'Black']);
            $texts[] = $new;
        }
        if ($boards[0] !== $boards[1]) {
            return 'The round\'s PGN file and viewer page hold different games here; nothing was saved.';
        }
        foreach ($paths as $n => $path) {
            if (!pw_write_atomically($path, $texts[$n])) {
                return 'The games cannot be written.';
            }
        }
        return null;
    } finally {
        flock($lock, LOCK_UN);
        fclose($lock);
    }
}
