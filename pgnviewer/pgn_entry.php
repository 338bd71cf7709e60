<?php
// Game entry for a pairweb site: the administrator's password, sessions, the login throttle
// and saving games into a round's PGN file and viewer page. Included by
// password_protect_page.php and pgnviewer.php; on its own it does nothing.

if (realpath($_SERVER['SCRIPT_FILENAME'] ?? '') === realpath(__FILE__)) {
    http_response_code(404);
    exit;
}

// Finding, replacing and saving the games of a round's files.
require_once __DIR__ . '/pgn_games.php';

const PW_MAX_FAILURES = 5;          // wrong passwords from one address ...
const PW_FAILURE_WINDOW = 900;      // ... within this many seconds: further attempts get 429
const PW_MAX_MOVE_TEXT = 20000;     // characters of one game's move text
const PW_RESULTS = ['1-0', '0-1', '1/2-1/2', '*'];
const PW_SAN = '(?:[KQRBN][a-h]?[1-8]?x?[a-h][1-8]|[a-h](?:x[a-h])?[1-8](?:=[QRBN])?|O-O(?:-O)?)[+#]?';

// ---------------------------------------------------------------------------------------
// Names of the round's files

// The viewer page named by the first item of a query: accepted only when it is a name of
// the form PREFIX + "round" + number + "_pgn.html" that exists in the folder, with its
// PGN file beside it. Nothing is read before the check.
function pw_page_name(string $name, string $dir): ?string
{
    if (!preg_match('/\A[^\/\\\\\x00]*round[1-9][0-9]*_pgn\.html\z/', $name) ||
        $name[0] === '.') {
        return null;
    }
    $entries = @scandir($dir);
    if ($entries === false || !in_array($name, $entries, true) ||
        !in_array(pw_pgn_name($name), $entries, true)) {
        return null;
    }
    return is_file($dir . '/' . $name) ? $name : null;
}

// The first item of a query string, decoded.
function pw_first_query_item(string $query): string
{
    $first = explode('&', $query, 2)[0];
    return rawurldecode($first);
}

// The round's PGN file beside its viewer page.
function pw_pgn_name(string $page): string
{
    return substr($page, 0, -strlen('_pgn.html')) . '.pgn';
}

// ---------------------------------------------------------------------------------------
// What may be saved

function pw_valid_result(string $result): bool
{
    return in_array($result, PW_RESULTS, true);
}

// The move text cleaned to single blanks, without a final result, or null when it holds
// anything but move numbers, SAN moves and blanks (and, last, the game's own result).
function pw_clean_moves(string $moves, string $result): ?string
{
    if (strlen($moves) > PW_MAX_MOVE_TEXT || preg_match('/[^A-Za-z0-9.=+#\/ -]/', $moves)) {
        return null;
    }
    $tokens = preg_split('/ +/', trim($moves), -1, PREG_SPLIT_NO_EMPTY);
    if ($tokens && end($tokens) === $result) {
        array_pop($tokens);
    }
    foreach ($tokens as $token) {
        if (!preg_match('/\A(?:[1-9][0-9]*\.(?:\.\.)?|(?:[1-9][0-9]*\.(?:\.\.)?)?' . PW_SAN . ')\z/',
                        $token)) {
            return null;
        }
    }
    return implode(' ', $tokens);
}

// ---------------------------------------------------------------------------------------
// Password, throttle and session

function pw_check_password(string $password, array $stored): bool
{
    if (($stored['algorithm'] ?? '') !== 'pbkdf2-sha256' || !isset($stored['salt'], $stored['hash'])) {
        return false;
    }
    $hex = '/\A(?:[0-9a-f]{2})+\z/';
    $iterations = (int) ($stored['iterations'] ?? 0);
    if (!preg_match($hex, (string) $stored['salt']) || !preg_match($hex, (string) $stored['hash']) ||
        $iterations < 1) {
        return false;
    }
    $salt = hex2bin((string) $stored['salt']);
    $hash = hex2bin((string) $stored['hash']);
    $derived = hash_pbkdf2('sha256', $password, $salt, $iterations, strlen($hash), true);
    return hash_equals($hash, $derived);
}

// The wrong passwords of recent times, by address, kept under a lock in a file of the PGN
// folder (which saving needs writable anyway). It is a PHP file that ends at once when a
// web server runs it, so its addresses are never served.
const PW_THROTTLE_GUARD = "<?php http_response_code(404); exit; ?>\n";

function pw_throttle_file(): string
{
    return __DIR__ . '/.ht-pairweb-logins.php';
}

function pw_throttle_update(string $file, callable $change)
{
    $handle = fopen($file, 'c+');
    if ($handle === false || !flock($handle, LOCK_EX)) {
        return $change([])[1];
    }
    $stored = (string) stream_get_contents($handle);
    $data = json_decode(substr($stored, 0, strlen(PW_THROTTLE_GUARD)) === PW_THROTTLE_GUARD
                        ? substr($stored, strlen(PW_THROTTLE_GUARD)) : '[]', true);
    [$data, $answer] = $change(is_array($data) ? $data : []);
    ftruncate($handle, 0);
    rewind($handle);
    fwrite($handle, PW_THROTTLE_GUARD . json_encode($data));
    flock($handle, LOCK_UN);
    fclose($handle);
    return $answer;
}

// Seconds until the address may try again (0: it may now).
function pw_throttle_wait(string $file, string $address, int $now): int
{
    return pw_throttle_update($file, function (array $data) use ($address, $now) {
        $recent = array_values(array_filter($data[$address] ?? [], function ($t) use ($now) {
            return $t > $now - PW_FAILURE_WINDOW;
        }));
        $data[$address] = $recent;
        if (count($recent) < PW_MAX_FAILURES) {
            return [$data, 0];
        }
        return [$data, $recent[count($recent) - PW_MAX_FAILURES] + PW_FAILURE_WINDOW - $now];
    });
}

function pw_throttle_fail(string $file, string $address, int $now): void
{
    pw_throttle_update($file, function (array $data) use ($address, $now) {
        $data[$address][] = $now;
        // Old entries of every address go, so the file stays small.
        foreach ($data as $a => $times) {
            $data[$a] = array_values(array_filter($times, function ($t) use ($now) {
                return $t > $now - PW_FAILURE_WINDOW;
            }));
            if (!$data[$a]) {
                unset($data[$a]);
            }
        }
        return [$data, null];
    });
}

function pw_start_session(): void
{
    if (session_status() === PHP_SESSION_ACTIVE) {
        return;
    }
    $https = !empty($_SERVER['HTTPS']) && strtolower((string) $_SERVER['HTTPS']) !== 'off';
    ini_set('session.use_strict_mode', '1');
    ini_set('session.use_only_cookies', '1');
    session_name('pairweb_admin');
    session_set_cookie_params([
        'lifetime' => 0, 'path' => '/', 'secure' => $https, 'httponly' => true,
        'samesite' => 'Strict',
    ]);
    session_start();
}

function pw_logged_in(): bool
{
    return !empty($_SESSION['pairweb_admin']) && !empty($_SESSION['pairweb_csrf']);
}

function pw_json(int $status, array $answer): void
{
    http_response_code($status);
    header('Content-Type: application/json');
    header('Cache-Control: no-store');
    echo json_encode($answer), "\n";
}

function pw_html(string $text): string
{
    return htmlspecialchars($text, ENT_QUOTES | ENT_SUBSTITUTE, 'UTF-8');
}

// A small page of its own (login form, notes); $body is HTML.
function pw_page(int $status, string $title, string $body): void
{
    http_response_code($status);
    header('Content-Type: text/html; charset=utf-8');
    header('Cache-Control: no-store');
    header('X-Frame-Options: DENY');
    echo "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><meta name=\"robots\" content=\"noindex\">",
         '<title>', pw_html($title), "</title>\n",
         '<style>body{font-family:sans-serif;margin:2em;max-width:36em}',
         'input{font-size:1em}p.error{color:#a00}</style></head><body>', "\n",
         $body, "\n</body></html>\n";
}

// The address a request came from, as the web server saw it.
function pw_address(): string
{
    return (string) ($_SERVER['REMOTE_ADDR'] ?? 'unknown');
}

// The requested address on this site, for the login form and the redirect after it.
function pw_self_url(): string
{
    $uri = (string) ($_SERVER['REQUEST_URI'] ?? '');
    return ($uri !== '' && $uri[0] === '/' && substr($uri, 0, 2) !== '//') ? $uri
        : basename((string) ($_SERVER['SCRIPT_NAME'] ?? 'index.php'));
}

// Stops the request unless it comes from a logged-in administrator: shows how to set a
// password when none is set, the login form to a GET, answers 403 to any other POST, and
// throttles wrong passwords. Requested itself, this page logs out.
function pw_protect(string $protectPage): void
{
    pw_start_session();
    $direct = realpath($_SERVER['SCRIPT_FILENAME'] ?? '') === realpath($protectPage);
    if ($direct && isset($_GET['logout'])) {
        $_SESSION = [];
        session_destroy();
        setcookie(session_name(), '', ['expires' => 1, 'path' => '/', 'httponly' => true,
                                       'samesite' => 'Strict']);
        pw_page(200, 'Logged out', '<p>You are logged out.</p><p><a href="../admin.php">Log in again</a></p>');
        exit;
    }
    $passwordFile = __DIR__ . '/admin_password.php';
    if (!is_file($passwordFile)) {
        pw_page(503, 'No admin password', '<h1>No admin password is set</h1>' .
            '<p>Game entry is closed until the organiser sets a password. On the computer ' .
            'that generates this site, run</p><pre>pairweb-gen --admin-password yourevent.cfg</pre>' .
            '<p>(or press "Set admin password..." on the PGN page of the pairweb app\'s ' .
            'options), then upload <code>pgn/admin_password.php</code> with the site.</p>');
        exit;
    }
    $post = ($_SERVER['REQUEST_METHOD'] ?? 'GET') === 'POST';
    $login = $post && isset($_POST['password']) && is_string($_POST['password']);
    if (!$login && pw_logged_in()) {
        if ($direct) {
            pw_page(200, 'Logged in', '<p>You are logged in.</p><p><a href="../admin.php">' .
                    'Game entry</a> &middot; <a href="password_protect_page.php?logout=1">Log out</a></p>');
            exit;
        }
        return;
    }
    if ($post && !$login) {
        pw_json(403, ['ok' => false, 'error' => 'Not logged in.']);
        exit;
    }
    $note = '';
    if ($login) {
        $throttle = pw_throttle_file();
        $wait = pw_throttle_wait($throttle, pw_address(), time());
        if ($wait > 0) {
            header('Retry-After: ' . $wait);
            pw_page(429, 'Too many attempts', '<p class="error">Too many wrong passwords from ' .
                    'this address. Try again in ' . (int) ceil($wait / 60) . ' minutes.</p>');
            exit;
        }
        $stored = include $passwordFile;
        if (is_array($stored) && pw_check_password($_POST['password'], $stored)) {
            session_regenerate_id(true);
            $_SESSION['pairweb_admin'] = true;
            $_SESSION['pairweb_csrf'] = bin2hex(random_bytes(32));
            header('Location: ' . pw_self_url(), true, 303);
            exit;
        }
        pw_throttle_fail($throttle, pw_address(), time());
        $note = '<p class="error">Wrong password.</p>';
    }
    pw_page(200, 'Log in', '<h1>PGN Entry: Admin only!</h1>' . $note .
        '<form method="post" action="' . pw_html(pw_self_url()) . '">' .
        '<label>Password <input type="password" name="password" autofocus ' .
        'autocomplete="current-password"></label> <button type="submit">Log in</button></form>');
    exit;
}
