<?php
// Game entry for a pairweb site: the administrator's password, sessions, the login throttle
// and saving games into a round's PGN file and viewer page. Included by
// password_protect_page.php and pgnviewer.php; on its own it does nothing.

if (realpath($_SERVER['SCRIPT_FILENAME'] ?? '') === realpath(__FILE__)) {
    pw_headers();
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

// The stored password hash of a file written by "pairweb-gen --admin-password": the file is
// read as text and must be exactly what that command writes (line ends may have become
// CR LF on the way to the host). It is never run, so a new file counts at once, even where
// PHP keeps compiled files without looking at their dates again. Null when it is not such
// a file.
function pw_read_password(string $file): ?array
{
    $text = @file_get_contents($file, false, null, 0, 4096);
    if (!is_string($text) || !preg_match(
            '/\A<\?php\r?\n(?:\/\/[^\r\n]*\r?\n)*return array\(\'algorithm\' => \'(pbkdf2-sha256)\', ' .
            '\'iterations\' => ([1-9][0-9]{0,8}), \'salt\' => \'((?:[0-9a-f]{2}){1,64})\', ' .
            '\'hash\' => \'((?:[0-9a-f]{2}){16,64})\'\);\r?\n?\z/', $text, $m)) {
        return null;
    }
    return ['algorithm' => $m[1], 'iterations' => (int) $m[2], 'salt' => $m[3], 'hash' => $m[4]];
}

// What a session holds of the site and the password it logged in with: the site's folder
// on disk and the stored hash, digested together. Another site, or a new password, gives
// another value, and the session no longer counts.
function pw_session_key(array $stored): string
{
    return hash('sha256', (string) realpath(dirname(__DIR__)) . "\0" . $stored['algorithm'] . "\0" .
                $stored['iterations'] . "\0" . $stored['salt'] . "\0" . $stored['hash']);
}

// The wrong passwords of recent times, by address, kept under a lock in a file of the PGN
// folder (which saving needs writable anyway). It is a PHP file that ends at once when a
// web server runs it, so its addresses are never served.
const PW_THROTTLE_GUARD = "<?php http_response_code(404); exit; ?>\n";

function pw_throttle_file(): string
{
    return __DIR__ . '/.ht-pairweb-logins.php';
}

// One login attempt from $address: under one lock on the throttle's file, the attempt is
// refused while the address has too many recent failures; otherwise $verify() checks the
// password and a wrong one is recorded before the lock is released, so attempts sent at
// once cannot all pass the check before any failure counts. Returns ['wait' => seconds
// until the address may try again (0 when it was allowed to try), 'ok' => whether $verify
// said yes], or null when the file cannot be opened, locked, read or written.
function pw_throttle_attempt(string $file, string $address, int $now, callable $verify): ?array
{
    $handle = @fopen($file, 'c+');
    if ($handle === false) {
        return null;
    }
    if (!flock($handle, LOCK_EX)) {
        fclose($handle);
        return null;
    }
    try {
        $stored = stream_get_contents($handle);
        if ($stored === false) {
            return null;
        }
        $data = substr($stored, 0, strlen(PW_THROTTLE_GUARD)) === PW_THROTTLE_GUARD
            ? json_decode(substr($stored, strlen(PW_THROTTLE_GUARD)), true) : [];
        $data = pw_throttle_recent(is_array($data) ? $data : [], $now);
        $recent = $data[$address] ?? [];
        if (count($recent) >= PW_MAX_FAILURES) {
            return ['wait' => $recent[count($recent) - PW_MAX_FAILURES] + PW_FAILURE_WINDOW - $now, 'ok' => false];
        }
        if ($verify()) {
            return ['wait' => 0, 'ok' => true];
        }
        $data[$address][] = $now;
        $text = PW_THROTTLE_GUARD . json_encode($data);
        if (!ftruncate($handle, 0) || !rewind($handle) || fwrite($handle, $text) !== strlen($text) ||
            !fflush($handle)) {
            return null;
        }
        return ['wait' => 0, 'ok' => false];
    } finally {
        flock($handle, LOCK_UN);
        fclose($handle);
    }
}

// The failures of the window only, for every address, so that the file stays small.
function pw_throttle_recent(array $data, int $now): array
{
    $recent = [];
    foreach ($data as $address => $times) {
        $kept = is_array($times) ? array_values(array_filter($times, function ($t) use ($now) {
            return is_int($t) && $t > $now - PW_FAILURE_WINDOW;
        })) : [];
        if ($kept) {
            $recent[(string) $address] = $kept;
        }
    }
    return $recent;
}

// The site's folder as the browser addresses it, with a final "/": the folder of admin.php,
// above this PGN folder. Taken from the name the web server gave the running script, never
// from the address the request asked for. The session cookie is sent there only.
function pw_site_path(): string
{
    $parts = explode('/', str_replace('\\', '/', (string) ($_SERVER['SCRIPT_NAME'] ?? '')));
    array_pop($parts);
    $script = realpath((string) ($_SERVER['SCRIPT_FILENAME'] ?? ''));
    if ($script !== false && dirname($script) === realpath(__DIR__)) {
        array_pop($parts);
    }
    $path = '';
    foreach ($parts as $part) {
        if ($part !== '') {
            // Characters a browser sends as they are stay, so the cookie's path matches the
            // address; the others (and "," and ";", which a cookie's path cannot hold) are
            // percent-encoded.
            $path .= '/' . preg_replace_callback('/[^A-Za-z0-9\-._~!$&\'()*+=:@]/', function ($m) {
                return rawurlencode($m[0]);
            }, $part);
        }
    }
    return $path . '/';
}

function pw_start_session(): void
{
    if (session_status() === PHP_SESSION_ACTIVE) {
        return;
    }
    $https = !empty($_SERVER['HTTPS']) && strtolower((string) $_SERVER['HTTPS']) !== 'off';
    ini_set('session.use_strict_mode', '1');
    ini_set('session.use_only_cookies', '1');
    session_cache_limiter('');   // pw_headers says how answers are cached
    session_name('pairweb_admin');
    session_set_cookie_params([
        'lifetime' => 0, 'path' => pw_site_path(), 'secure' => $https, 'httponly' => true,
        'samesite' => 'Strict',
    ]);
    session_start();
}

// Whether the session logged in to this site with the password that is stored now.
function pw_logged_in(array $stored): bool
{
    return !empty($_SESSION['pairweb_csrf']) && is_string($_SESSION['pairweb_admin'] ?? null) &&
        hash_equals(pw_session_key($stored), $_SESSION['pairweb_admin']);
}

// The headers of every answer of the game-entry pages: nothing is cached or sniffed, no
// address leaves the site in a Referer, and only the site's own pages may frame them (its
// frameset shows admin.php).
function pw_headers(): void
{
    header('X-Content-Type-Options: nosniff');
    header('Referrer-Policy: same-origin');
    header('Cache-Control: no-store');
    header("Content-Security-Policy: frame-ancestors 'self'");
}

function pw_json(int $status, array $answer): void
{
    http_response_code($status);
    header('Content-Type: application/json');
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

// The running script's own name and the request's query, for the login form and the
// redirect after it: an address relative to the script's folder that cannot lead to another
// host, whatever path the request asked for. The query keeps its meaning; every character
// that does not belong in a query (and a "%" that starts no escape) is percent-encoded.
function pw_self_url(): string
{
    $url = rawurlencode(basename(str_replace('\\', '/', (string) ($_SERVER['SCRIPT_NAME'] ?? ''))));
    $query = (string) ($_SERVER['QUERY_STRING'] ?? '');
    if ($query !== '') {
        $url .= '?' . preg_replace_callback('/%(?![0-9A-Fa-f]{2})|[^A-Za-z0-9\-._~!$&\'()*+,;=:@\/?%]/',
            function ($m) {
                return rawurlencode($m[0]);
            }, $query);
    }
    return $url;
}

// Stops the request unless it comes from the administrator logged in to this site with the
// password stored now: shows how to set a password when none is set, the login form to a
// GET, answers 403 to any other POST, and throttles wrong passwords. Requested itself, this
// page logs out.
function pw_protect(string $protectPage): void
{
    pw_headers();
    pw_start_session();
    $direct = realpath($_SERVER['SCRIPT_FILENAME'] ?? '') === realpath($protectPage);
    if ($direct && isset($_GET['logout'])) {
        $_SESSION = [];
        session_destroy();
        setcookie(session_name(), '', ['expires' => 1, 'path' => pw_site_path(), 'httponly' => true,
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
    $stored = pw_read_password($passwordFile);
    if ($stored === null) {
        pw_page(503, 'Admin password unreadable', '<h1>The admin password cannot be read</h1>' .
            '<p>Set it again with <code>pairweb-gen --admin-password</code> and upload ' .
            '<code>pgn/admin_password.php</code> as it is written.</p>');
        exit;
    }
    $post = ($_SERVER['REQUEST_METHOD'] ?? 'GET') === 'POST';
    $login = $post && isset($_POST['password']) && is_string($_POST['password']);
    if (!$login && pw_logged_in($stored)) {
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
        $attempt = pw_throttle_attempt(pw_throttle_file(), pw_address(), time(), function () use ($stored) {
            return pw_check_password($_POST['password'], $stored);
        });
        if ($attempt === null) {
            pw_page(503, 'Login closed', '<p class="error">Logins are closed for now: the record ' .
                    'of wrong passwords cannot be kept. Try again later.</p>');
            exit;
        }
        if ($attempt['wait'] > 0) {
            header('Retry-After: ' . $attempt['wait']);
            pw_page(429, 'Too many attempts', '<p class="error">Too many wrong passwords from ' .
                    'this address. Try again in ' . (int) ceil($attempt['wait'] / 60) . ' minutes.</p>');
            exit;
        }
        if ($attempt['ok']) {
            session_regenerate_id(true);
            $_SESSION['pairweb_admin'] = pw_session_key($stored);
            $_SESSION['pairweb_csrf'] = bin2hex(random_bytes(32));
            header('Location: ' . pw_self_url(), true, 303);
            exit;
        }
        $note = '<p class="error">Wrong password.</p>';
    }
    pw_page(200, 'Log in', '<h1>PGN Entry: Admin only!</h1>' . $note .
        '<form method="post" action="' . pw_html(pw_self_url()) . '">' .
        '<label>Password <input type="password" name="password" autofocus ' .
        'autocomplete="current-password"></label> <button type="submit">Log in</button></form>');
    exit;
}
