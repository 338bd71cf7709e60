// Shows the games of one round's PGN viewer page: the page name comes first in the query,
// then either "eval=ParsePgn(1,<index>)" (one game, index from 0) or "ParsePgn=1" (all
// games). Moves are read and replayed with chess.js; a game whose moves are not entered yet
// (a bare "1.") shows its tags and the starting position.
import { Chess } from './chess.js';

const PIECES = {
  wk: '\u2654', wq: '\u2655', wr: '\u2656', wb: '\u2657', wn: '\u2658', wp: '\u2659',
  bk: '\u265A', bq: '\u265B', br: '\u265C', bb: '\u265D', bn: '\u265E', bp: '\u265F',
};

const $ = (id) => document.getElementById(id);

function showError(text) {
  $('error').textContent = text;
  $('error').hidden = false;
}

// Splits the query into the page name and the request.
export function parseQuery(search) {
  const parts = search.replace(/^\?/, '').split('&');
  const page = decodeURIComponent(parts[0] || '');
  let game = null;
  for (const part of parts.slice(1)) {
    const m = decodeURIComponent(part).match(/^eval=ParsePgn\(\s*1\s*,\s*(-?\d+)\s*\)$/);
    if (m) game = Number(m[1]);
  }
  return { page, game };
}

// Only a file in this folder may be opened: no folders, no other sites.
export function isSafePageName(name) {
  return /^[^/\\:?#]+$/.test(name) && !name.startsWith('.');
}

// The pages are written byte for byte from the tournament tables, which the pairing program
// keeps in Windows-1252; text that is valid UTF-8 is read as UTF-8. A UTF-8 byte order mark
// is no text in either.
export function decodeText(buffer) {
  const bytes = new Uint8Array(buffer);
  try {
    return new TextDecoder('utf-8', { fatal: true }).decode(bytes);
  } catch {
    const bom = bytes[0] === 0xEF && bytes[1] === 0xBB && bytes[2] === 0xBF;
    return new TextDecoder('windows-1252').decode(bom ? bytes.subarray(3) : bytes);
  }
}

// Whether a file of the PGN folder is a round's viewer page (its head, then the PGN text
// with "&", "<" and ">" escaped) rather than a PGN file.
export function isViewerPageName(name) {
  return name.endsWith('_pgn.html');
}

const TAG_LINE = /^[ \t]*\[([A-Za-z0-9_]+)[ \t]+"([\s\S]*)"[ \t]*\][ \t]*$/;
const HEAD_START = /^[ \t]*<head>[ \t]*$/i;
const HEAD_END = /^[ \t]*<\/head>[ \t]*$/i;
const PAGE_ESCAPES = { amp: '&', lt: '<', gt: '>' };

// A line of a viewer page's PGN text with "&amp;", "&lt;" and "&gt;" undone, in one pass.
export function unescapePageText(line) {
  return line.replace(/&(amp|lt|gt);/g, (m, name) => PAGE_ESCAPES[name]);
}

// A tag's value as written between its quotes, decoded: '\"' is '"' and '\\' is '\'.
export function tagValue(written) {
  return written.replace(/\\(["\\])/g, '$1');
}

// Reads one line (outside a tag) for comments; says whether it holds move text. state.inComment
// carries an open "{" comment from line to line.
function scanLine(line, state) {
  let moves = false;
  for (const c of line) {
    if (state.inComment) {
      state.inComment = c !== '}';
    } else if (c === '{') {
      state.inComment = true;
    } else if (c === ';') {
      break;
    } else if (c !== ' ' && c !== '\t') {
      moves = true;
    }
  }
  return moves;
}

// The games of a viewer page or PGN file, each with its tags (decoded) in their order and
// its move text. Which part of a file is game N is decided by one rule, which the server's
// save follows as well (pw_split_games in pgn_games.php, where the rule is written out);
// both are tested on the same files.
export function splitGames(text, viewerPage = false) {
  const games = [];
  const state = { inComment: false };
  let game = null;
  let inHead = false;
  const lines = text.replace(/^\ufeff/, '').split('\n');
  for (let k = 0; k < lines.length; ++k) {
    // A CR belongs to the line's end only before an LF.
    let line = k < lines.length - 1 && lines[k].endsWith('\r') ? lines[k].slice(0, -1) : lines[k];
    if (viewerPage && (k === 0 ? HEAD_START.test(line) : inHead)) {
      inHead = !HEAD_END.test(line);
      continue;
    }
    if (viewerPage) line = unescapePageText(line);
    const tag = state.inComment ? null : line.match(TAG_LINE);
    if (tag) {
      if (!game || game.hasMoves || Object.hasOwn(game.tags, tag[1])) {
        game = { tags: Object.create(null), tagOrder: [], lines: [], hasMoves: false };
        games.push(game);
      }
      game.tags[tag[1]] = tagValue(tag[2]);
      game.tagOrder.push(tag[1]);
      game.lines = [];
      continue;
    }
    const moves = scanLine(line, state);
    if (game) {
      game.hasMoves ||= moves;
      game.lines.push(line);
    }
  }
  return games.map((g) => ({ tags: g.tags, tagOrder: g.tagOrder, moves: g.lines.join('\n') }));
}

// Replays a game's moves; an empty or bare-numbered move list gives no moves. Only the move
// text goes to chess.js: the tags are not needed to replay, and chess.js reads no escaped
// quote in a tag.
export function replay(game) {
  const moveText = game.moves.replace(/\{[^}]*\}/g, ' ').replace(/;.*/g, ' ');
  const bare = moveText.replace(/\d+\.+/g, ' ').replace(/(1-0|0-1|1\/2-1\/2|\*)\s*$/, '').trim();
  if (bare === '') return { moves: [], error: null };
  try {
    const chess = new Chess();
    chess.loadPgn(game.moves.trim() + '\n');
    return { moves: chess.history({ verbose: true }), error: null };
  } catch (e) {
    return { moves: [], error: String(e.message || e) };
  }
}

// Draws a position into the page's board table; each square carries its name.
export function drawBoard(fen, flipped) {
  const chess = new Chess(fen);
  const board = chess.board();
  const table = $('board');
  table.textContent = '';
  const files = 'abcdefgh';
  for (let i = 0; i < 8; ++i) {
    const r = flipped ? 7 - i : i;
    const tr = document.createElement('tr');
    const rank = document.createElement('td');
    rank.className = 'coord';
    rank.textContent = String(8 - r);
    tr.appendChild(rank);
    for (let j = 0; j < 8; ++j) {
      const f = flipped ? 7 - j : j;
      const td = document.createElement('td');
      td.className = (r + f) % 2 === 0 ? 'light' : 'dark';
      td.dataset.square = files[f] + String(8 - r);
      const piece = board[r][f];
      if (piece) td.textContent = PIECES[piece.color + piece.type];
      tr.appendChild(td);
    }
    table.appendChild(tr);
  }
  const tr = document.createElement('tr');
  tr.appendChild(document.createElement('td'));
  for (let j = 0; j < 8; ++j) {
    const td = document.createElement('td');
    td.className = 'coord';
    td.textContent = files[flipped ? 7 - j : j];
    tr.appendChild(td);
  }
  table.appendChild(tr);
}

function showGame(game, index, page) {
  document.title = `${game.tags.White || ''} - ${game.tags.Black || ''}`;
  $('white-name').textContent = game.tags.White || '?';
  $('black-name').textContent = game.tags.Black || '?';
  $('result').textContent = game.tags.Result || '*';
  const details = ['Event', 'Site', 'Date', 'Round', 'WhiteElo', 'BlackElo', 'WhiteACF', 'BlackACF']
    .filter((k) => game.tags[k] !== undefined && game.tags[k] !== '' && game.tags[k] !== '*')
    .map((k) => `${k} ${game.tags[k]}`);
  $('tags').textContent = details.join(' \u00b7 ');
  const { moves, error } = replay(game);
  const start = new Chess().fen();
  const positions = [start, ...moves.map((m) => m.after)];
  let ply = 0;
  let flipped = false;
  const movesBox = $('moves');
  movesBox.textContent = '';
  moves.forEach((m, k) => {
    if (k % 2 === 0) movesBox.appendChild(document.createTextNode(` ${k / 2 + 1}.`));
    const span = document.createElement('span');
    span.className = 'move';
    span.textContent = m.san;
    span.addEventListener('click', () => { ply = k + 1; update(); });
    movesBox.appendChild(span);
  });
  $('note').textContent = error ? `The moves could not be read: ${error}`
                        : moves.length === 0 ? 'No moves entered yet.' : '';
  function update() {
    drawBoard(positions[ply], flipped);
    movesBox.querySelectorAll('span.move').forEach((s, k) => {
      s.classList.toggle('current', k + 1 === ply);
    });
  }
  $('first').onclick = () => { ply = 0; update(); };
  $('back').onclick = () => { ply = Math.max(0, ply - 1); update(); };
  $('forward').onclick = () => { ply = Math.min(positions.length - 1, ply + 1); update(); };
  $('last').onclick = () => { ply = positions.length - 1; update(); };
  $('flip').onclick = () => { flipped = !flipped; update(); };
  document.addEventListener('keydown', (e) => {
    if (e.key === 'ArrowLeft') $('back').click();
    if (e.key === 'ArrowRight') $('forward').click();
  });
  $('all-games').href = `?${encodeURIComponent(page)}&ParsePgn=1`;
  $('game').hidden = false;
  $('game').dataset.index = String(index);
  update();
}

function showList(games, page) {
  $('list-title').textContent = games.length ? (games[0].tags.Event || 'Games') : 'No games';
  const list = $('games');
  list.textContent = '';
  games.forEach((game, k) => {
    const li = document.createElement('li');
    const a = document.createElement('a');
    a.href = `?${encodeURIComponent(page)}&eval=ParsePgn(1,${k})`;
    a.textContent = `${game.tags.White || '?'} - ${game.tags.Black || '?'}  ${game.tags.Result || '*'}`;
    li.appendChild(a);
    list.appendChild(li);
  });
  $('list').hidden = false;
}

async function main() {
  const { page, game } = parseQuery(window.location.search);
  if (!isSafePageName(page)) {
    showError('No games to show.');
    return;
  }
  let text;
  try {
    const response = await fetch(page, { cache: 'no-store' });
    if (!response.ok) throw new Error(`${response.status} ${response.statusText}`);
    text = decodeText(await response.arrayBuffer());
  } catch (e) {
    showError(`The games of this round are not available (${e.message}).`);
    return;
  }
  const games = splitGames(text, isViewerPageName(page));
  if (game === null) {
    showList(games, page);
  } else if (game >= 0 && game < games.length) {
    showGame(games[game], game, page);
  } else {
    showError('There is no game for this board.');
    showList(games, page);
  }
}

// The viewer runs on its own page only; the game-entry page imports its functions.
if (typeof document !== 'undefined' && document.getElementById('viewer')) {
  main();
}
