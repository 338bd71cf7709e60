// Unit tests of the PGN viewer's page reading, run by scripts/viewer_test.sh with node --test
// on a copy of pgnviewer/ marked as ES modules, with the round files of fixtures/ beside it.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { parseQuery, isSafePageName, isViewerPageName, splitGames, replay, decodeText,
         tagValue, unescapePageText } from './ltpgnviewer.js';

const fixtures = new URL('./fixtures/', import.meta.url);

const page = '<head>\r\n<META HTTP-EQUIV="CACHE-CONTROL" CONTENT="NO-CACHE">\r\n' +
  '<META HTTP-EQUIV="PRAGMA" CONTENT="NO-CACHE">\r\n<META HTTP-EQUIV="EXPIRES" CONTENT="0">\r\n' +
  '</head>\r\n' +
  '[Event "Open"]\r\n[Site "*"]\r\n[Date "*"]\r\n[Round "3.1"]\r\n[White "Adams, Mickey"]\r\n' +
  '[Black "Byrne, Ann"]\r\n[Result "1-0"]\r\n[WhiteElo "2500"]\r\n[BlackElo "-"]\r\n1.\r\n\r\n' +
  '[Event "Open"]\r\n[Site "*"]\r\n[Date "*"]\r\n[Round "3.2"]\r\n[White "Cole, Tom"]\r\n' +
  '[Black "Duffy, Sue"]\r\n[Result "*"]\r\n1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 *\r\n\r\n';

test('query names the page and the game', () => {
  assert.deepEqual(parseQuery('?open_round3_pgn.html&eval=ParsePgn(1,4)'),
                   { page: 'open_round3_pgn.html', game: 4 });
  assert.deepEqual(parseQuery('?round1_pgn.html&ParsePgn=1'), { page: 'round1_pgn.html', game: null });
  assert.deepEqual(parseQuery('?County%20Open_round1_pgn.html&eval=ParsePgn(1,0)'),
                   { page: 'County Open_round1_pgn.html', game: 0 });
});

test('only plain file names of this folder are opened', () => {
  assert.ok(isSafePageName('round1_pgn.html'));
  assert.ok(!isSafePageName('../admin.php'));
  assert.ok(!isSafePageName('https://example.org/x'));
  assert.ok(!isSafePageName('.hidden'));
  assert.ok(!isSafePageName(''));
});

test('viewer page splits into one game per board', () => {
  const games = splitGames(page);
  assert.equal(games.length, 2);
  assert.equal(games[0].tags.White, 'Adams, Mickey');
  assert.equal(games[0].tags.BlackElo, '-');
  assert.equal(games[1].tags.Round, '3.2');
});

test('skeleton games have no moves and no error', () => {
  const [skeleton, played] = splitGames(page);
  assert.deepEqual(replay(skeleton), { moves: [], error: null });
  const r = replay(played);
  assert.equal(r.error, null);
  assert.deepEqual(r.moves.map((m) => m.san), ['e4', 'e5', 'Nf3', 'Nc6', 'Bb5', 'a6']);
});

test('illegal moves are reported, not thrown', () => {
  const [game] = splitGames('[White "A"]\n[Black "B"]\n1. e5 *\n');
  const r = replay(game);
  assert.equal(r.moves.length, 0);
  assert.notEqual(r.error, null);
});

test('Windows-1252 pages are decoded as such, UTF-8 pages as UTF-8', () => {
  assert.equal(decodeText(new Uint8Array([0x47, 0x61, 0x72, 0xE7, 0x6F, 0x6E])), 'Gar\u00e7on');
  assert.equal(decodeText(new Uint8Array([0x47, 0x61, 0x72, 0xC3, 0xA7, 0x6F, 0x6E])), 'Gar\u00e7on');
});

// The same files and the same expected games as the server's tests (tests/php/GamesTest.php):
// per file, each game's White and Black as the file means them, and how many moves it has.
test('every round file gives the games the server numbers, with decoded names', () => {
  const expected = JSON.parse(fs.readFileSync(new URL('expected.json', fixtures), 'utf8'));
  for (const [name, games] of Object.entries(expected)) {
    const text = decodeText(fs.readFileSync(new URL(name, fixtures)));
    const found = splitGames(text, isViewerPageName(name)).map((g) => {
      const r = replay(g);
      assert.equal(r.error, null, `${name}: ${r.error}`);
      return [g.tags.White, g.tags.Black, r.moves.length];
    });
    assert.deepEqual(found, games, name);
  }
});

test('tag values and viewer page text are decoded once, in the writer\'s order reversed', () => {
  for (const [written, value] of [['O\\"Brien\\\\', 'O"Brien\\'], ['a\\\\\\"b', 'a\\"b'],
                                  ['\\\\\\\\', '\\\\'], ['C:\\x', 'C:\\x'], ['plain', 'plain']]) {
    assert.equal(tagValue(written), value, written);
  }
  assert.equal(unescapePageText('&amp;lt; &lt;b&gt; &amp;amp; &quot;'), '&lt; <b> &amp; &quot;');
  // A viewer page's text is decoded; the same bytes in a PGN file are the text they are.
  const line = '[White "Hull &amp; District"]\n1.\n';
  assert.equal(splitGames(line, true)[0].tags.White, 'Hull & District');
  assert.equal(splitGames(line, false)[0].tags.White, 'Hull &amp; District');
  assert.ok(isViewerPageName('open_round2_pgn.html') && !isViewerPageName('open_round2.pgn'));
  // A CR that ends the file is no line end: the line is no tag (as the server reads it too).
  assert.equal(splitGames('[Event "a"]\r\n[White "b"]\r').length, 1);
  assert.equal(splitGames('[Event "a"]\r\n[White "b"]\r')[0].tags.White, undefined);
});

test('a game is replayed from its moves alone, whatever its tags hold', () => {
  const [game] = splitGames('[White "O\\"Brien\\\\"]\n[Black "x\\\\"]\n[Result "*"]\n1. e4 e5 *\n');
  assert.deepEqual(replay(game).moves.map((m) => m.san), ['e4', 'e5']);
});
