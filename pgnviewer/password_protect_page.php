<?php
// Included at the top of admin.php and pgnviewer.php: lets only the administrator logged in to
// this site on. Requested itself (password_protect_page.php?logout=1) it logs out.
require_once __DIR__ . '/pgn_entry.php';
pw_protect(__FILE__);
if (realpath($_SERVER['SCRIPT_FILENAME'] ?? '') !== realpath(__DIR__ . '/pgnviewer.php')) {
    // On admin.php: a way out, above its own page.
    echo '<div style="text-align:right;font:12px sans-serif">',
         '<a href="pgn/password_protect_page.php?logout=1">Log out</a></div>', "\n";
}
