<?php
// Finding and saving the games of a round's files (pgn_games.php), on the round files of
// tests/pgnviewer/fixtures that the viewer's tests read too: the server numbers the games as
// the viewer does, and a save changes the Result tag and the move text of one game only.
use PHPUnit\Framework\TestCase;

require_once __DIR__ . '/../../pgnviewer/pgn_entry.php';

final class GamesTest extends TestCase
{
    private const FIXTURES = __DIR__ . '/../pgnviewer/fixtures';

    // Per file, each game's White and Black as the file means them (and its number of
    // moves, which only the viewer's tests replay).
    private static function expected(): array
    {
        return json_decode(file_get_contents(self::FIXTURES . '/expected.json'), true);
    }

    private static function isViewerPage(string $name): bool
    {
        return substr($name, -strlen('_pgn.html')) === '_pgn.html';
    }

    private static function names(array $games): array
    {
        return array_map(function (array $g): array {
            return [pw_game_tag($g, 'White'), pw_game_tag($g, 'Black')];
        }, $games);
    }

    // The line end after a tag line; for the file's last line, the one the file uses.
    private static function lineEnd(string $text, array $tag): string
    {
        $eol = substr($text, $tag['end'], $tag['next'] - $tag['end']);
        return $eol !== '' ? $eol : (strpos($text, "\r\n") !== false ? "\r\n" : "\n");
    }

    public function testEveryFileGivesTheGamesTheViewerShows(): void
    {
        foreach (self::expected() as $name => $games) {
            $found = pw_split_games(file_get_contents(self::FIXTURES . "/$name"), self::isViewerPage($name));
            $this->assertSame(array_map(function (array $g): array {
                return [$g[0], $g[1]];
            }, $games), self::names($found), $name);
        }
    }

    // Saving game k of any file: game k gets the new Result tag and move text, every other
    // byte of the file stays, and the file still holds the same games in the same order.
    public function testSavingGameKChangesOnlyGameK(): void
    {
        foreach (self::expected() as $name => $expected) {
            $page = self::isViewerPage($name);
            $before = file_get_contents(self::FIXTURES . "/$name");
            $old = pw_split_games($before, $page);
            foreach (array_keys($expected) as $k) {
                $what = "$name, game $k";
                $after = pw_replace_game($before, $k, '1. d4 Nf6', '0-1', $page);
                $new = pw_split_games($after, $page);
                $this->assertSame(self::names($old), self::names($new), $what);
                $this->assertSame(substr($before, 0, $old[$k]['start']), substr($after, 0, $new[$k]['start']), $what);
                foreach ($old as $j => $game) {
                    if ($j !== $k) {
                        $this->assertSame(substr($before, $game['start'], $game['end'] - $game['start']),
                                          substr($after, $new[$j]['start'], $new[$j]['end'] - $new[$j]['start']), $what);
                    }
                }
                // Within game k: its lines up to its last tag with only the Result tag new (or
                // added after the last tag, on a line ending as the last tag's line), the
                // blank lines after the tags, one line of moves, then what followed the old
                // move text.
                [$o, $n] = [$old[$k], $new[$k]];
                $lastOld = end($o['tags']);
                $lastNew = end($n['tags']);
                $eol = self::lineEnd($before, $lastOld);
                $tags = substr($before, $o['start'], $lastOld['end'] - $o['start']);
                $result = array_values(array_filter($o['tags'], function (array $t): bool {
                    return $t['name'] === 'Result';
                }));
                $tags = $result ? substr_replace($tags, '[Result "0-1"]', $result[0]['start'] - $o['start'],
                                                 $result[0]['end'] - $result[0]['start'])
                                : $tags . $eol . '[Result "0-1"]';
                $this->assertSame($tags, substr($after, $n['start'], $lastNew['end'] - $n['start']), $what);
                $layout = $o['moves'] === null ? $eol
                        : substr($before, $lastOld['end'], $o['moves']['start'] - $lastOld['end']);
                $this->assertSame($layout, substr($after, $lastNew['end'], $n['moves']['start'] - $lastNew['end']), $what);
                $this->assertSame('1. d4 Nf6 0-1', substr($after, $n['moves']['start'], $n['moves']['end'] - $n['moves']['start']), $what);
                $this->assertSame(substr($before, $o['moves']['end'] ?? $lastOld['end']), substr($after, $n['moves']['end']), $what);
            }
        }
    }

    // Saves written out by hand: [file, game, moves, result, the bytes before, after].
    public function testSavedGamesByteForByte(): void
    {
        $cases = [
            ['no_moves.pgn', 1, '1. d4', '1/2-1/2', "[Black \"Duffy, Sue\"]\n[Result \"*\"]\n\n",
             "[Black \"Duffy, Sue\"]\n[Result \"1/2-1/2\"]\n1. d4 1/2-1/2\n\n"],
            ['comments.pgn', 0, '1. e4', '0-1',
             "[Result \"1-0\"]\n{ before the moves } 1. e4 { best by test } e5 2. Nf3 ; rest of line {\n1-0\n\n",
             "[Result \"0-1\"]\n1. e4 0-1\n\n"],
            ['comments.pgn', 1, '', '*', "[Result \"*\"]\n{ no moves yet }\n", "[Result \"*\"]\n*\n"],
            ['mixed_eol.pgn', 0, '1. c4 e5', '1-0', "[Black \"Byrne, Ann\"]\r\n1. c4 *\n",
             "[Black \"Byrne, Ann\"]\r\n[Result \"1-0\"]\r\n1. c4 e5 1-0\n"],
            ['mixed_eol.pgn', 1, '1. e4', '1-0', "[Black \"Duffy, Sue\"]\r\n[Event",
             "[Black \"Duffy, Sue\"]\r\n[Result \"1-0\"]\r\n1. e4 1-0\r\n[Event"],
            ['mixed_eol.pgn', 2, '', '0-1', "[Black \"Fox, Lee\"]\t", "[Black \"Fox, Lee\"]\t\r\n[Result \"0-1\"]\r\n0-1"],
            ['blank_lines_round3_pgn.html', 0, '1. d4 d5 2. c4', '*', "[Result \"*\"]\r\n\r\n1. d4 d5 *\r\n",
             "[Result \"*\"]\r\n\r\n1. d4 d5 2. c4 *\r\n"],
            ['escaped_round5_pgn.html', 2, '1. d4 d5', '1-0', "[Result \"*\"]\r\n1. d4 *\r\n",
             "[Result \"1-0\"]\r\n1. d4 d5 1-0\r\n"],
        ];
        foreach ($cases as [$name, $k, $moves, $result, $from, $to]) {
            $before = file_get_contents(self::FIXTURES . "/$name");
            $this->assertSame(1, substr_count($before, $from), $name);
            $this->assertSame(str_replace($from, $to, $before),
                              pw_replace_game($before, $k, $moves, $result, self::isViewerPage($name)), "$name, game $k");
        }
        $this->assertNull(pw_replace_game(file_get_contents(self::FIXTURES . '/no_moves.pgn'), 3, '', '*'));
    }

    // A save writes the same game into both files, which stay one the viewer page of the
    // other; when the two files hold different games at that number, neither is written.
    public function testSaveWritesTheSameBoardIntoBothFilesOrNeither(): void
    {
        $dir = sys_get_temp_dir() . '/pw-games-' . bin2hex(random_bytes(4));
        mkdir($dir);
        $head = "<head>\r\n<META HTTP-EQUIV=\"PRAGMA\" CONTENT=\"NO-CACHE\">\r\n</head>\r\n";
        $escape = function (string $pgn): string {
            return strtr($pgn, ['&' => '&amp;', '<' => '&lt;', '>' => '&gt;']);
        };
        try {
            $pgn = file_get_contents(self::FIXTURES . '/escaped_round5.pgn');
            file_put_contents("$dir/round5.pgn", $pgn);
            file_put_contents("$dir/round5_pgn.html", $head . $escape($pgn));
            $this->assertNull(pw_save_game($dir, 'round5_pgn.html', 1, '1. e4 e5', '1/2-1/2'));
            $saved = file_get_contents("$dir/round5.pgn");
            $this->assertSame(pw_replace_game($pgn, 1, '1. e4 e5', '1/2-1/2'), $saved);
            $this->assertSame($head . $escape($saved), file_get_contents("$dir/round5_pgn.html"));

            // The PGN file edited by hand: its first game removed.
            $edited = substr($saved, strpos($saved, "[Event", 1));
            file_put_contents("$dir/round5.pgn", $edited);
            $page = file_get_contents("$dir/round5_pgn.html");
            $this->assertSame('The round\'s PGN file and viewer page hold different games here; nothing was saved.',
                              pw_save_game($dir, 'round5_pgn.html', 1, '1. c4', '1-0'));
            $this->assertSame($edited, file_get_contents("$dir/round5.pgn"));
            $this->assertSame($page, file_get_contents("$dir/round5_pgn.html"));
            $this->assertSame([], glob("$dir/.ht-pairweb-*.tmp"));
        } finally {
            array_map('unlink', glob("$dir/{,.}[!.]*", GLOB_BRACE));
            rmdir($dir);
        }
    }

    // Requested by itself over HTTP, the file answers 404 (with the headers of every answer)
    // and runs nothing.
    public function testRequestedDirectlyTheFileIsNotFound(): void
    {
        $probe = stream_socket_server('tcp://127.0.0.1:0');
        $port = (int) substr(strrchr(stream_socket_get_name($probe, false), ':'), 1);
        fclose($probe);
        $env = getenv();
        unset($env['PHP_CLI_SERVER_WORKERS']);  // one process, stopped below by its own pid
        $server = proc_open([PHP_BINARY, '-S', "127.0.0.1:$port", '-t', dirname(__DIR__, 2) . '/pgnviewer'],
            [0 => ['file', '/dev/null', 'r'], 1 => ['file', '/dev/null', 'w'], 2 => ['file', '/dev/null', 'w']],
            $pipes, null, $env);
        try {
            for ($k = 0; $k < 100 && ($socket = @fsockopen('127.0.0.1', $port)) === false; $k++) {
                usleep(50000);
            }
            $this->assertNotFalse($socket, 'PHP\'s server did not start');
            fclose($socket);
            $context = stream_context_create(['http' => ['ignore_errors' => true, 'timeout' => 30]]);
            $body = file_get_contents("http://127.0.0.1:$port/pgn_games.php", false, $context);
            $this->assertSame('404', explode(' ', $http_response_header[0])[1]);
            $this->assertContains('X-Content-Type-Options: nosniff', $http_response_header);
            $this->assertSame('', $body);
        } finally {
            proc_terminate($server);
            proc_close($server);
        }
    }
}
