<?php
// The game-entry library without a web server: names, move text, replacing one game of a
// round's file, the login throttle and the password file.
use PHPUnit\Framework\TestCase;

require_once __DIR__ . '/../../pgnviewer/pgn_entry.php';

final class EntryTest extends TestCase
{
    private const ROUND = "[Event \"Open\"]\r\n[Round \"1.1\"]\r\n[White \"A, B\"]\r\n[Result \"*\"]\r\n1.\r\n\r\n" .
        "[Event \"Open\"]\r\n[Round \"1.2\"]\r\n[White \"C, D\"]\r\n[Result \"*\"]\r\n1.\r\n\r\n" .
        "[Event \"Open\"]\r\n[Round \"1.3\"]\r\n[White \"E, F\"]\r\n[Result \"*\"]\r\n1.\r\n\r\n";
    private const HEAD = "<head>\r\n<META HTTP-EQUIV=\"PRAGMA\" CONTENT=\"NO-CACHE\">\r\n</head>\r\n";

    public function testOnlyExistingRoundPagesAreNamed(): void
    {
        $dir = sys_get_temp_dir() . '/pw-names-' . bin2hex(random_bytes(4));
        mkdir($dir);
        foreach (['open_round1_pgn.html', 'open_round1.pgn', 'round2_pgn.html', 'admin_password.php',
                  '.round3_pgn.html', '.round3.pgn'] as $file) {
            file_put_contents("$dir/$file", 'x');
        }
        $this->assertSame('open_round1_pgn.html', pw_page_name('open_round1_pgn.html', $dir));
        foreach (['round2_pgn.html',          // no PGN file beside it
                  'round9_pgn.html',          // no such round
                  '.round3_pgn.html', 'admin_password.php', 'open_round1.pgn',
                  '../pgn/open_round1_pgn.html', 'x/open_round1_pgn.html', "open_round1_pgn.html\0",
                  'open_round01_pgn.html', 'open_round1_pgn.htm', ''] as $name) {
            $this->assertNull(pw_page_name($name, $dir), $name);
        }
        $this->assertSame('open round1_pgn.html', pw_first_query_item('open%20round1_pgn.html&ParsePgn=1'));
    }

    public function testMoveTextIsMovesNumbersAndTheResultOnly(): void
    {
        $this->assertSame('1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. O-O', pw_clean_moves(' 1. e4 e5  2. Nf3 Nc6 3. Bb5 a6 4. O-O 1-0', '1-0'));
        $this->assertSame('1.e4 1... c5 2. exd5 axb1=Q+ 3. Qxf7#', pw_clean_moves('1.e4 1... c5 2. exd5 axb1=Q+ 3. Qxf7#', '*'));
        $this->assertSame('', pw_clean_moves('', '1/2-1/2'));
        foreach (['1. e4 ]', '1. e4 {x}', '1. e4 "', "1. e4\n[Result \"1-0\"]", "1. e4\te5",
                  '1. e4 0-1', '1. e9', '1. Ke', '(1. e4)', '1. e4 e5;', str_repeat('1. e4 ', 3400)] as $bad) {
            $this->assertNull(pw_clean_moves($bad, '1-0'), $bad);
        }
        foreach (PW_RESULTS as $result) {
            $this->assertTrue(pw_valid_result($result));
        }
        $this->assertFalse(pw_valid_result('2-0'));
        $this->assertFalse(pw_valid_result('1-0 '));
    }

    public function testOneGameIsReplacedAndEveryOtherByteStays(): void
    {
        foreach (['', self::HEAD] as $head) {
            $before = $head . self::ROUND;
            $after = pw_replace_game($before, 1, '1. e4 e5', '0-1');
            $expected = $head . str_replace("[White \"C, D\"]\r\n[Result \"*\"]\r\n1.\r\n",
                                            "[White \"C, D\"]\r\n[Result \"0-1\"]\r\n1. e4 e5 0-1\r\n", self::ROUND);
            $this->assertSame($expected, $after);
            // Saved again: the entered moves are replaced in turn.
            $again = pw_replace_game($after, 1, '', '*');
            $this->assertSame($head . str_replace("[White \"C, D\"]\r\n[Result \"*\"]\r\n1.\r\n",
                                                  "[White \"C, D\"]\r\n[Result \"*\"]\r\n*\r\n", self::ROUND), $again);
        }
        $this->assertNull(pw_replace_game(self::ROUND, 3, '1. e4', '*'));
        $this->assertNull(pw_replace_game(self::HEAD, 0, '1. e4', '*'));
        $last = pw_replace_game(self::ROUND, 2, '1. d4', '1-0');
        $this->assertSame(substr(self::ROUND, 0, -strlen("[Result \"*\"]\r\n1.\r\n\r\n")),
                          substr($last, 0, -strlen("[Result \"1-0\"]\r\n1. d4 1-0\r\n\r\n")));
    }

    public function testSaveWritesBothFilesUnderTheLock(): void
    {
        $dir = sys_get_temp_dir() . '/pw-save-' . bin2hex(random_bytes(4));
        mkdir($dir);
        file_put_contents("$dir/round1.pgn", self::ROUND);
        file_put_contents("$dir/round1_pgn.html", self::HEAD . self::ROUND);
        $this->assertNull(pw_save_game($dir, 'round1_pgn.html', 0, '1. e4', '1-0'));
        $this->assertStringContainsString("[White \"A, B\"]\r\n[Result \"1-0\"]\r\n1. e4 1-0\r\n", file_get_contents("$dir/round1.pgn"));
        $this->assertSame(self::HEAD . file_get_contents("$dir/round1.pgn"), file_get_contents("$dir/round1_pgn.html"));
        $pgn = file_get_contents("$dir/round1.pgn");
        $this->assertSame('There is no such game in this round.', pw_save_game($dir, 'round1_pgn.html', 7, '1. e4', '1-0'));
        $this->assertSame($pgn, file_get_contents("$dir/round1.pgn"));
        $this->assertSame([], glob("$dir/*.tmp"));
    }

    // A save waits for the lock that another save holds, and then writes.
    public function testSaveWaitsForTheLock(): void
    {
        $dir = sys_get_temp_dir() . '/pw-lock-' . bin2hex(random_bytes(4));
        mkdir($dir);
        file_put_contents("$dir/round1.pgn", self::ROUND);
        file_put_contents("$dir/round1_pgn.html", self::HEAD . self::ROUND);
        $lock = fopen("$dir/.ht-pairweb.lock", 'c');
        $this->assertTrue(flock($lock, LOCK_EX));
        $code = 'require ' . var_export(__DIR__ . '/../../pgnviewer/pgn_entry.php', true) . ';' .
                'exit(pw_save_game(' . var_export($dir, true) . ', "round1_pgn.html", 2, "1. c4", "0-1") === null ? 0 : 1);';
        $saver = proc_open([PHP_BINARY, '-r', $code], [], $pipes);
        usleep(400000);
        $this->assertTrue(proc_get_status($saver)['running']);
        $this->assertSame(self::ROUND, file_get_contents("$dir/round1.pgn"));
        flock($lock, LOCK_UN);
        $this->assertSame(0, proc_close($saver));
        $this->assertStringEndsWith("[Result \"0-1\"]\r\n1. c4 0-1\r\n\r\n", file_get_contents("$dir/round1.pgn"));
    }

    public function testFiveWrongPasswordsBlockTheAddressForTheWindow(): void
    {
        $file = sys_get_temp_dir() . '/pw-throttle-' . bin2hex(random_bytes(4)) . '.json';
        $t = 1000000;
        $lockedWhileChecked = [];
        $wrong = function () use ($file, &$lockedWhileChecked) {
            $other = fopen($file, 'r');
            $lockedWhileChecked[] = !flock($other, LOCK_EX | LOCK_NB);
            fclose($other);
            return false;
        };
        $right = function () {
            return true;
        };
        $unchecked = function () {
            throw new LogicException('a blocked address had its password checked');
        };
        foreach ([0, 1, 2, 3, 10] as $k) {
            $this->assertSame(['wait' => 0, 'ok' => false], pw_throttle_attempt($file, '10.0.0.1', $t + $k, $wrong));
        }
        $this->assertSame(array_fill(0, 5, true), $lockedWhileChecked);
        // The fifth failure within the window blocks until the first of them is old enough.
        $this->assertSame(['wait' => PW_FAILURE_WINDOW - 20, 'ok' => false],
                          pw_throttle_attempt($file, '10.0.0.1', $t + 20, $unchecked));
        $this->assertSame(['wait' => 0, 'ok' => true], pw_throttle_attempt($file, '10.0.0.2', $t + 20, $right));
        $this->assertSame(['wait' => 0, 'ok' => true],
                          pw_throttle_attempt($file, '10.0.0.1', $t + PW_FAILURE_WINDOW + 1, $right));
        // A record that cannot be opened lets nobody try.
        $this->assertNull(pw_throttle_attempt(sys_get_temp_dir(), '10.0.0.1', $t, $unchecked));
        unlink($file);
    }

    // The password file is read as the text "pairweb-gen --admin-password" writes, never run.
    public function testThePasswordFileIsReadOnlyInItsOwnForm(): void
    {
        $record = ['algorithm' => 'pbkdf2-sha256', 'iterations' => 600000, 'salt' => str_repeat('0f', 16),
                   'hash' => str_repeat('a1', 32)];
        $text = "<?php\n// The admin password of this site's game entry.\n// Written by pairweb-gen.\n" .
            "return array('algorithm' => 'pbkdf2-sha256', 'iterations' => 600000, 'salt' => '" .
            $record['salt'] . "', 'hash' => '" . $record['hash'] . "');\n";
        $file = sys_get_temp_dir() . '/pw-password-' . bin2hex(random_bytes(4)) . '.php';
        $cases = [
            [$text, $record],
            [str_replace("\n", "\r\n", $text), $record],
            [str_replace("');\n", "'); echo 1;\n", $text), null],
            [str_replace("<?php\n", "<?php\nsystem('id');\n", $text), null],
            [str_replace("'hash' => 'a1", "'hash' => 'A1", $text), null],
            [str_replace('600000', '0', $text), null],
            ["<?php return array('algorithm' => 'pbkdf2-sha256');", null],
            ['', null],
        ];
        foreach ($cases as $n => [$content, $expected]) {
            file_put_contents($file, $content);
            $this->assertSame($expected, pw_read_password($file), "case $n");
        }
        unlink($file);
        $this->assertNull(pw_read_password($file));
    }

    public function testPasswordsAreCheckedAgainstTheStoredHash(): void
    {
        $salt = random_bytes(16);
        $stored = ['algorithm' => 'pbkdf2-sha256', 'iterations' => 1000, 'salt' => bin2hex($salt),
                   'hash' => bin2hex(hash_pbkdf2('sha256', 'correct horse', $salt, 1000, 32, true))];
        $this->assertTrue(pw_check_password('correct horse', $stored));
        $this->assertFalse(pw_check_password('correct horse ', $stored));
        $this->assertFalse(pw_check_password('correct horse', ['algorithm' => 'md5'] + $stored));
        $this->assertFalse(pw_check_password('', ['salt' => 'zz', 'hash' => ''] + $stored));
    }
}
