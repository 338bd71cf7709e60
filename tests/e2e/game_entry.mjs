// Browser test of game entry. Usage: node game_entry.mjs BASE_URL SITE_FOLDER PASSWORD ARTIFACTS
// BASE_URL serves SITE_FOLDER with PHP; the site comes from tables whose players include the
// surnames that hostile_tables.mjs writes. Every page of the site runs none of their markup.
// Logs in on admin.php, opens round 1 in recording mode, enters 1.e4 e5 2.Nf3 by clicking
// squares, sets the result and saves; then the public viewer shows the moves and the final
// position, and the names in both as the text they are.
import fs from 'node:fs';
import path from 'node:path';
import { chromium } from 'playwright-core';

const [base, site, password, artifacts] = process.argv.slice(2);
fs.mkdirSync(artifacts, { recursive: true });
const problems = [];
const check = (ok, what) => { if (!ok) problems.push(what); };

// Surnames from the players table, as the PGN file's tags begin them once decoded.
const HOSTILE = ['<img src=x onerror=alert(1)>, ', 'O"Brien\\, '];
const round1Pgn = () => fs.readFileSync(path.join(site, 'pgn', 'round1.pgn'), 'latin1');
const pgnBefore = round1Pgn();

// The names' lines of the round's files: PGN quoting in both, markup escaped in the viewer page.
const page1 = fs.readFileSync(path.join(site, 'pgn', 'round1_pgn.html'), 'latin1');
check(pgnBefore.includes('"<img src=x onerror=alert(1)>, ') && pgnBefore.includes('"O\\"Brien\\\\, ') &&
      page1.includes('"&lt;img src=x onerror=alert(1)&gt;, ') && page1.includes('"O\\"Brien\\\\, '),
      'the hostile names are escaped in round 1\'s PGN file and viewer page');

// The names in a list of games and in the players' line of the game that holds each.
async function checkNames(page, listSelector, open) {
  const items = await page.$$eval(`${listSelector} li`, (lis) => lis.map((li) => li.textContent));
  check(await page.$(`${listSelector} img`) === null, `no element made from a name on ${page.url()}`);
  for (const name of HOSTILE) {
    const k = items.findIndex((t) => t.includes(name));
    check(k >= 0, `${page.url()} lists ${name} as text`);
    if (k < 0) continue;
    await open(k);
    const players = `${await page.textContent('#white-name')} - ${await page.textContent('#black-name')}`;
    check(players.includes(name), `game ${k} on ${page.url()} shows ${name} as text: ${players}`);
  }
}

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
  // Every page of the site, the round's viewer page opened directly among them: no markup
  // of a name becomes an element, and its script would open a dialog (a problem, above).
  const pages = [...fs.readdirSync(site).filter((n) => n.endsWith('.html')),
                 ...fs.readdirSync(path.join(site, 'pgn')).filter((n) => n.endsWith('_pgn.html')).map((n) => `pgn/${n}`)];
  const reader = await context.newPage();
  for (const name of pages) {
    await reader.goto(`${base}/${name}`, { waitUntil: 'load' });
    for (const frame of reader.frames()) {
      check(await frame.$('[onerror]') === null, `markup from a name on ${name}`);
    }
  }
  check(pages.includes('results_round1.html') && pages.includes('pgn/round1_pgn.html'), `the site's pages: ${pages}`);
  await reader.goto(`${base}/results_round1.html`);
  check((await reader.textContent('body')).includes('<img src=x onerror=alert(1)>, '), 'the pairings show the name as text');
  await reader.close();

  const admin = await context.newPage();
  await admin.goto(`${base}/admin.php`);
  await admin.fill('input[name="password"]', password);
  await Promise.all([admin.waitForNavigation(), admin.click('button[type="submit"]')]);
  check((await admin.textContent('body')).includes('PGN Entry: Admin only!'), 'admin page after login');
  await admin.screenshot({ path: path.join(artifacts, 'entry-01-admin.png') });

  const [entry] = await Promise.all([context.waitForEvent('page'), admin.click('text=Round 1')]);
  await entry.waitForSelector('#games button');
  check(await entry.$('meta[name="csrf-token"]') !== null, 'CSRF token on the entry page');
  await checkNames(entry, '#games', (k) => entry.click(`#games li:nth-child(${k + 1}) button`));
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
  await checkNames(viewer, '#games', async (k) => {
    await viewer.goto(`${base}/pgn/ltpgnviewer.html?round1_pgn.html&eval=ParsePgn(1,${k})`);
    await viewer.waitForSelector('#game:not([hidden])');
  });
  // The save changed the first game's Result tag and moves, and no other byte.
  const firstResult = pgnBefore.indexOf('[Result "');
  const expected = pgnBefore.slice(0, firstResult) +
    pgnBefore.slice(firstResult).replace(/^\[Result "[^"]*"\](\r\n(?:\[.*\r\n)*)1\.\r\n/,
                                       (m, tags) => `[Result "1-0"]${tags}1. e4 e5 2. Nf3 1-0\r\n`);
  check(round1Pgn() === expected, 'the PGN file holds the game, and every other byte as before');
} finally {
  await browser.close();
}
if (problems.length) {
  console.error(`Game entry test failed:\n  ${problems.join('\n  ')}`);
  process.exit(1);
}
console.log(`Game entry test passed; screenshots in ${artifacts}`);
