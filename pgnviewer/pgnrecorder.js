// Game entry (recording mode) for one round: the organiser picks a game, enters its moves
// on the board by clicking or dragging (chess.js checks them), takes moves back, sets the
// result and saves. The round's viewer page is read as the public viewer reads it (the same
// games, the same numbering as the server's save, the texts decoded); every text from it is
// shown as text.
import { Chess } from './chess.js';
import { decodeText, drawBoard, isViewerPageName, replay, splitGames } from './ltpgnviewer.js';

const $ = (id) => document.getElementById(id);
const page = document.body.dataset.page;
const token = document.querySelector('meta[name="csrf-token"]').content;

// The move text of a game so far, with move numbers: "1. e4 e5 2. Nf3".
export function moveText(sans) {
  return sans.map((san, k) => (k % 2 === 0 ? `${k / 2 + 1}. ${san}` : san)).join(' ');
}

let games = [];
let chosen = -1;
let chess = new Chess();
let from = null;

function status(text, isError) {
  $('status').textContent = text;
  $('status').className = isError ? 'error' : '';
}

function show() {
  drawBoard(chess.fen(), false);
  for (const td of $('board').querySelectorAll('td[data-square]')) {
    td.classList.toggle('from', td.dataset.square === from);
    td.draggable = Boolean(chess.get(td.dataset.square));
  }
  $('moves').textContent = moveText(chess.history());
}

function tryMove(source, target) {
  from = null;
  try {
    chess.move({ from: source, to: target, promotion: 'q' });
    status('', false);
  } catch {
    status(`${source}-${target} is not a legal move.`, true);
  }
  show();
}

function squareOf(event) {
  const td = event.target.closest('td[data-square]');
  return td ? td.dataset.square : null;
}

function choose(index) {
  chosen = index;
  const game = games[index];
  chess = new Chess();
  for (const m of replay(game).moves) chess.move(m.san);
  from = null;
  $('white-name').textContent = game.tags.White || '?';
  $('black-name').textContent = game.tags.Black || '?';
  $('result').value = ['1-0', '0-1', '1/2-1/2'].includes(game.tags.Result) ? game.tags.Result : '*';
  document.querySelectorAll('#games button').forEach((b, k) => b.classList.toggle('chosen', k === index));
  $('game').hidden = false;
  status('', false);
  show();
}

async function save() {
  const body = new URLSearchParams({
    file: page, game: String(chosen), moves: moveText(chess.history()),
    result: $('result').value, token,
  });
  status('Saving...', false);
  try {
    const response = await fetch(window.location.pathname, {
      method: 'POST', body, credentials: 'same-origin',
    });
    const answer = await response.json();
    if (!answer.ok) throw new Error(answer.error || `${response.status}`);
    games[chosen].tags.Result = $('result').value;
    listGames();
    status('Saved.', false);
  } catch (e) {
    status(`Not saved: ${e.message}`, true);
  }
}

function listGames() {
  const list = $('games');
  list.textContent = '';
  games.forEach((game, k) => {
    const li = document.createElement('li');
    const button = document.createElement('button');
    button.type = 'button';
    button.textContent = `${game.tags.White || '?'} - ${game.tags.Black || '?'}  ${game.tags.Result || '*'}`;
    button.classList.toggle('chosen', k === chosen);
    button.addEventListener('click', () => choose(k));
    li.appendChild(button);
    list.appendChild(li);
  });
}

async function main() {
  try {
    const response = await fetch(page, { cache: 'no-store' });
    if (!response.ok) throw new Error(`${response.status} ${response.statusText}`);
    games = splitGames(decodeText(await response.arrayBuffer()), isViewerPageName(page));
  } catch (e) {
    $('error').textContent = `The games of this round are not available (${e.message}).`;
    $('error').hidden = false;
    return;
  }
  $('title').textContent = games.length ? `${games[0].tags.Event || 'Games'}: game entry` : 'No games';
  listGames();
  const board = $('board');
  board.addEventListener('click', (e) => {
    const square = squareOf(e);
    if (!square || chosen < 0) return;
    if (from === null || from === square) {
      from = chess.get(square) && from !== square ? square : null;
      show();
    } else {
      tryMove(from, square);
    }
  });
  board.addEventListener('dragstart', (e) => {
    from = squareOf(e);
    e.dataTransfer.setData('text/plain', from || '');
  });
  board.addEventListener('dragover', (e) => e.preventDefault());
  board.addEventListener('drop', (e) => {
    e.preventDefault();
    const target = squareOf(e);
    if (from && target && from !== target) tryMove(from, target);
  });
  $('undo').addEventListener('click', () => { chess.undo(); from = null; show(); });
  $('save').addEventListener('click', save);
}

main();
