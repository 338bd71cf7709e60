<?php
// Game entry for one round (the administrator's recording mode): shows the round's games,
// lets the organiser enter a game's moves on a board and saves them into the round's PGN
// file and viewer page. The viewer page's name is the first item of the query, as admin.php
// writes it.
require __DIR__ . '/password_protect_page.php';

if (($_SERVER['REQUEST_METHOD'] ?? 'GET') === 'POST') {
    $field = function (string $name): string {
        return isset($_POST[$name]) && is_string($_POST[$name]) ? $_POST[$name] : '';
    };
    if (!hash_equals((string) $_SESSION['pairweb_csrf'], $field('token'))) {
        pw_json(403, ['ok' => false, 'error' => 'The page is out of date: reload it.']);
        exit;
    }
    $page = pw_page_name($field('file'), __DIR__);
    $game = $field('game');
    $result = $field('result');
    $moves = pw_clean_moves($field('moves'), $result);
    if ($page === null) {
        pw_json(400, ['ok' => false, 'error' => 'No such round.']);
    } elseif (!preg_match('/\A(0|[1-9][0-9]{0,3})\z/', $game)) {
        pw_json(400, ['ok' => false, 'error' => 'No such game.']);
    } elseif (!pw_valid_result($result)) {
        pw_json(400, ['ok' => false, 'error' => 'The result must be 1-0, 0-1, 1/2-1/2 or *.']);
    } elseif ($moves === null) {
        pw_json(400, ['ok' => false, 'error' => 'The moves hold something other than moves.']);
    } elseif (($problem = pw_save_game(__DIR__, $page, (int) $game, $moves, $result)) !== null) {
        pw_json(400, ['ok' => false, 'error' => $problem]);
    } else {
        pw_json(200, ['ok' => true]);
    }
    exit;
}

$page = pw_page_name(pw_first_query_item((string) ($_SERVER['QUERY_STRING'] ?? '')), __DIR__);
if ($page === null) {
    pw_page(400, 'No such round', '<p class="error">There is no such round.</p>');
    exit;
}
header('Content-Type: text/html; charset=utf-8');
?><!DOCTYPE html>
<html>
<head>
<meta charset="utf-8">
<meta name="robots" content="noindex">
<meta name="csrf-token" content="<?= pw_html($_SESSION['pairweb_csrf']) ?>">
<title>Game entry</title>
<link rel="stylesheet" href="ltpgnviewer.css">
<style>
#board td.from { outline: 3px solid #000080; outline-offset: -3px; }
#entry { margin-top: 8px; }
#status.error { color: #a00; }
#layout { display: flex; gap: 12px; align-items: flex-start; }
#games { width: 220px; max-height: 400px; overflow-y: auto; margin: 0; padding-left: 2.2em; }
#games button { font-size: 11px; margin: 1px 0; text-align: left; }
#side { min-width: 150px; }
#games button.chosen { font-weight: bold; }
h1 { font-size: 16px; }
#logout { float: right; }
</style>
<script type="module" src="pgnrecorder.js"></script>
</head>
<body data-page="<?= pw_html($page) ?>">
<a id="logout" href="password_protect_page.php?logout=1">Log out</a>
<h1 id="title">Game entry</h1>
<div id="layout">
<ol id="games"></ol>
<div id="game" hidden>
  <div id="players"><span id="white-name"></span> &ndash; <span id="black-name"></span></div>
  <div id="main">
    <table id="board" aria-label="board"></table>
    <div id="side">
      <div id="moves"></div>
      <div id="entry">
        <button id="undo" type="button">Take back</button>
        <label>Result <select id="result">
          <option>*</option><option>1-0</option><option>0-1</option><option>1/2-1/2</option>
        </select></label>
        <button id="save" type="button">Save</button>
      </div>
      <p id="status"></p>
    </div>
  </div>
</div>
</div>
<p id="error" hidden></p>
</body>
</html>
