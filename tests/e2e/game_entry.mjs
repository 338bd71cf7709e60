// Browser test of game entry. Usage: node game_entry.mjs BASE_URL SITE_FOLDER PASSWORD ARTIFACTS
// BASE_URL serves SITE_FOLDER with PHP. Logs in on admin.php, opens round 1 in recording
// mode, enters 1.e4 e5 2.Nf3 by clicking squares, sets the result and saves; then the public
// viewer shows the moves and the final position, and texts from the file stay text.
import fs from 'node:fs';
import path from 'node:path';
import { chromium } from 'playwright-core';

const [base, site, password, artifacts] = process.argv.slice(2);
fs.mkdirSync(artifacts, { recursive: true });
const problems = [];
const check = (ok, what) => { if (!ok) problems.push(what); };

// A name with markup in the round's viewer page: it must be shown as the text it is.
const viewerPage = path.join(site, 'pgn', 'round1_pgn.html');
const original = fs.readFileSync(viewerPage, 'latin1');
const secondWhite = original.split('[White "')[2].split('"]')[0];
fs.writeFileSync(viewerPage, original.replace(`[White "${secondWhite}"]`, '[White "<img src=x onerror=alert(1)>"]'), 'latin1');

const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
const context = await browser.newContext({ viewport: { width: 800, height: 460 } });
context.on('page', (p) => {
  p.on('pageerror', (e) => problems.push(`page error on ${p.url()}: ${e.message}`));
  p.on('dialog', (d) => { problems.push(`dialog on ${p.url()}: ${d.message()}`); d.dismiss(); });
});
try {
  const admin = await context.newPage();
  await admin.goto(`${base}/admin.php`);
  await admin.fill('input[name="password"]', password);
  await Promise.all([admin.waitForNavigation(), admin.click('button[type="submit"]')]);
  check((await admin.textContent('body')).includes('PGN Entry: Admin only!'), 'admin page after login');
  await admin.screenshot({ path: path.join(artifacts, 'entry-01-admin.png') });

  const [entry] = await Promise.all([context.waitForEvent('page'), admin.click('text=Round 1')]);
  await entry.waitForSelector('#games button');
  check(await entry.$('meta[name="csrf-token"]') !== null, 'CSRF token on the entry page');
  const list = await entry.textContent('#games');
  check(list.includes('<img src=x onerror=alert(1)>'), 'a name with markup is shown as text in the list');
  check(await entry.$('#games img') === null, 'no element made from a name');
  await entry.click('#games li:first-child button');
  for (const [from, to] of [['e2', 'e4'], ['e7', 'e5'], ['g1', 'f3']]) {
    await entry.click(`#board td[data-square="${from}"]`);
    await entry.click(`#board td[data-square="${to}"]`);
  }
  check((await entry.textContent('#moves')) === '1. e4 e5 2. Nf3', `moves entered: ${await entry.textContent('#moves')}`);
  await entry.click('#undo');
  await entry.click('#board td[data-square="g1"]');
  await entry.click('#board td[data-square="f3"]');
  await entry.selectOption('#result', '1-0');
  await entry.click('#save');
  await entry.waitForFunction(() => document.getElementById('status').textContent !== 'Saving...');
  check((await entry.textContent('#status')) === 'Saved.', `save: ${await entry.textContent('#status')}`);
  await entry.screenshot({ path: path.join(artifacts, 'entry-02-recorded.png') });

  const viewer = await context.newPage();
  await viewer.goto(`${base}/pgn/ltpgnviewer.html?round1_pgn.html&eval=ParsePgn(1,0)`);
  await viewer.waitForSelector('#moves span.move');
  const moves = await viewer.$$eval('#moves span.move', (spans) => spans.map((s) => s.textContent));
  check(JSON.stringify(moves) === '["e4","e5","Nf3"]', `viewer moves: ${JSON.stringify(moves)}`);
  check((await viewer.textContent('#result')) === '1-0', 'viewer result');
  await viewer.click('#last');
  const square = (s) => viewer.textContent(`#board td[data-square="${s}"]`);
  check(await square('f3') === '\u2658' && await square('e4') === '\u2659' && await square('e5') === '\u265F' &&
        await square('g1') === '' && await square('e2') === '', 'final position on the viewer board');
  await viewer.screenshot({ path: path.join(artifacts, 'entry-03-viewer.png') });
  await viewer.goto(`${base}/pgn/ltpgnviewer.html?round1_pgn.html&ParsePgn=1`);
  await viewer.waitForSelector('#games li');
  check((await viewer.textContent('#games')).includes('<img src=x onerror=alert(1)>') &&
        await viewer.$('#games img') === null, 'the public viewer shows a name with markup as text');
  const pgn = fs.readFileSync(path.join(site, 'pgn', 'round1.pgn'), 'latin1');
  check(pgn.includes('[Result "1-0"]\r\n') && pgn.includes('\r\n1. e4 e5 2. Nf3 1-0\r\n'), 'the PGN file holds the game');
} finally {
  await browser.close();
}
if (problems.length) {
  console.error(`Game entry test failed:\n  ${problems.join('\n  ')}`);
  process.exit(1);
}
console.log(`Game entry test passed; screenshots in ${artifacts}`);
