// Browser test of a generated site. Usage: node e2e.mjs SITE_FOLDER ARTIFACTS_FOLDER
// Serves SITE_FOLDER on 127.0.0.1, opens the home page in headless Chromium, follows each
// banner link into the main frame, opens a pairings and a standings page and a result's
// game viewer, and fails on any page error or missing file. Screenshots go to ARTIFACTS.
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import { chromium } from 'playwright-core';

const [siteFolder, artifacts] = process.argv.slice(2);
if (!siteFolder || !artifacts) {
  console.error('usage: node e2e.mjs SITE_FOLDER ARTIFACTS_FOLDER');
  process.exit(2);
}
fs.mkdirSync(artifacts, { recursive: true });

const TYPES = { '.html': 'text/html; charset=windows-1252', '.css': 'text/css',
                '.js': 'text/javascript', '.pgn': 'application/x-chess-pgn',
                '.txt': 'text/plain' };

// A static server for the site folder, nothing outside it.
const server = http.createServer((req, res) => {
  const url = new URL(req.url, 'http://127.0.0.1');
  const file = path.normalize(path.join(siteFolder, decodeURIComponent(url.pathname)));
  if (!file.startsWith(path.resolve(siteFolder)) || !fs.existsSync(file) ||
      fs.statSync(file).isDirectory()) {
    res.writeHead(404);
    res.end('not found');
    return;
  }
  res.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream' });
  fs.createReadStream(file).pipe(res);
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const base = `http://127.0.0.1:${server.address().port}/`;

const problems = [];
const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
const context = await browser.newContext({ viewport: { width: 1100, height: 800 } });
context.on('page', watch);
function watch(page) {
  page.on('pageerror', (e) => problems.push(`page error on ${page.url()}: ${e.message}`));
  page.on('console', (m) => {
    // Missing files are reported with their address by the response handler below.
    if (m.type() === 'error' && !m.text().startsWith('Failed to load resource')) problems.push(`console error on ${page.url()}: ${m.text()}`);
  });
  page.on('response', (r) => {
    if (r.status() >= 400 && !r.url().endsWith('/favicon.ico')) {
      problems.push(`missing file: ${r.url()} (${r.status()})`);
    }
  });
  page.on('requestfailed', (r) => {
    if (!r.url().endsWith('/favicon.ico')) problems.push(`request failed: ${r.url()}`);
  });
}

function check(condition, text) {
  if (!condition) problems.push(text);
  return condition;
}

let step = 0;
async function shot(page, name) {
  await page.screenshot({ path: path.join(artifacts, `${String(++step).padStart(2, '0')}-${name}.png`),
                          fullPage: true });
}

try {
  const page = await context.newPage();
  await page.goto(base + 'index.html');
  const banner = page.frame({ name: 'banner' });
  const main = () => page.frame({ name: 'main' });
  check(banner !== null, 'no banner frame');
  await main().waitForLoadState();
  check(main().url().endsWith('/player_list.html'), `main frame starts at ${main().url()}`);
  const title = (await banner.locator('td.toptitle').textContent()).trim();
  check(title === 'K\u00f6ln Open \u2013 2026', `banner shows the title as "${title}"`);
  await shot(page, 'home');

  // Clicks in some frame and waits until the main frame has loaded a page matching pattern.
  async function intoMain(click, pattern) {
    await Promise.all([
      page.waitForEvent('framenavigated', (f) => f.name() === 'main' && pattern.test(f.url())),
      click(),
    ]);
    await main().waitForLoadState();
  }

  const targets = [['player_list.html', 'td.title'], ['results.html', 'td.title'],
                   ['standings.html', 'td.title'], ['crosstable.html', 'td.title']];
  for (const [target, selector] of targets) {
    await intoMain(() => banner.locator(`a.top[href="${target}"]`).click(),
                   new RegExp(`/${target.replace('.', '\\.')}$`));
    check(await main().locator(selector).count() > 0, `${target}: no title cell`);
    await shot(page, target.replace('.html', ''));
  }

  // A round's pairings through the pairings index, and a standings page through its index.
  await intoMain(() => banner.locator('a.top[href="results.html"]').click(), /\/results\.html$/);
  await intoMain(() => main().locator('a[href^="results_round"]').first().click(),
                 /results_round\d+\.html$/);
  const boards = await main().locator('tr:has(td.name)').count();
  check(boards > 0, 'pairings page without boards');
  await shot(page, 'pairings-round');

  await intoMain(() => banner.locator('a.top[href="standings.html"]').click(),
                 /\/standings\.html$/);
  await intoMain(() => main().locator('a[href^="standings_round"]').last().click(),
                 /standings_round\d+\.html$/);
  check(await main().locator('td.name').count() > 0, 'standings page without players');
  await shot(page, 'standings-round');

  // A result link opens the round's viewer at that board's game.
  const pairings = await context.newPage();
  await pairings.goto(base + 'results_round1.html');
  const round1Boards = await pairings.locator('a.game[href*="eval=ParsePgn"]').count();
  const firstRow = pairings.locator('tr:has(a.game[href*="eval=ParsePgn"])').first();
  const names = await firstRow.locator('td.name').allTextContents();
  // A name cell holds the title (with DisplayTitles), the name and the points in brackets.
  const nameOf = (cell) => cell.replace(/\s*\([^)]*\)\s*$/, '')
                               .replace(/^\s*(GM|WGM|IM|WIM|FM|WFM)?\s+/, '').trim();
  const white = nameOf(names[0]);
  const black = nameOf(names[1]);
  const [viewer] = await Promise.all([
    context.waitForEvent('page'),
    firstRow.locator('a.game').click(),
  ]);
  await viewer.waitForLoadState();
  await viewer.locator('#game:not([hidden])').waitFor({ timeout: 10000 });
  const shownWhite = (await viewer.locator('#white-name').textContent()).trim();
  const shownBlack = (await viewer.locator('#black-name').textContent()).trim();
  check(shownWhite === white, `viewer shows white "${shownWhite}", pairings say "${white}"`);
  check(shownBlack === black, `viewer shows black "${shownBlack}", pairings say "${black}"`);
  check(await viewer.locator('#board td.light, #board td.dark').count() === 64, 'viewer has no board');
  await shot(viewer, 'viewer-game');

  const list = await context.newPage();
  // The round's files carry the prefix "Köln Open": its Download link reaches the file too.
  const download = await pairings.locator('a.game[href$=".pgn"]').getAttribute('href');
  const pgnFile = await pairings.request.get(base + download);
  check(pgnFile.ok() && (await pgnFile.text()).startsWith('[Event '),
        `the Download PGN link ${download} does not reach the round's PGN file`);
  await list.goto(base + 'pgn/ltpgnviewer.html?' +
                  encodeURIComponent('K\u00f6ln Open_round1_pgn.html') + '&ParsePgn=1');
  await list.locator('#list:not([hidden])').waitFor({ timeout: 10000 });
  const listed = await list.locator('#games li').count();
  check(listed === round1Boards, `viewer lists ${listed} games, round 1 has ${round1Boards} boards`);
  const event = (await list.locator('#list-title').textContent()).trim();
  check(event === 'K\u00f6ln Open \u2013 2026', `viewer shows the event as "${event}"`);
  await shot(list, 'viewer-list');
} catch (e) {
  problems.push(`test failed: ${e.stack || e}`);
} finally {
  await browser.close();
  server.close();
}

if (problems.length) {
  console.error(problems.join('\n'));
  process.exit(1);
}
console.log(`Browser test passed; screenshots in ${artifacts}`);
