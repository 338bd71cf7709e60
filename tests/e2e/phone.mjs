// Browser test of the phone pages of a generated site.
// Usage: node phone.mjs SITE_FOLDER ARTIFACTS_FOLDER [--lighthouse | --screenshots]
// Serves SITE_FOLDER on 127.0.0.1 as a web host does (plain files cached by the browser for
// an hour) and drives Debian's Chromium in phone emulation (390 x 844, scale 3, touch), light
// and dark: layout at the device width, text and target sizes, axe-core's WCAG 2.2 A and AA
// rules on every kind of phone page, search, the remembered player, deep links, the
// new-results notice, the print style and the home page's way to the phone pages. With
// --lighthouse it runs Lighthouse (mobile) on the phone home, a round page and a standings
// page instead; with --screenshots it only takes the README's screenshots of the home page, a
// round page with a name searched and a standings page, light and dark. Fails on any console
// error. Screenshots go to ARTIFACTS.
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';
import { chromium } from 'playwright-core';

const args = process.argv.slice(2);
const lighthouseRun = args.includes('--lighthouse');
// --screenshots: only the README's screenshots, into ARTIFACTS_FOLDER.
const screenshotsOnly = args.includes('--screenshots');
const [siteFolder, artifacts] = args.filter((a) => !a.startsWith('--'));
if (!siteFolder || !artifacts) {
  console.error('usage: node phone.mjs SITE_FOLDER ARTIFACTS_FOLDER [--lighthouse]');
  process.exit(2);
}
fs.mkdirSync(artifacts, { recursive: true });
const require = createRequire(import.meta.url);
const chromiumPath = process.env.CHROMIUM || '/usr/bin/chromium';

const TYPES = { '.html': 'text/html', '.css': 'text/css', '.js': 'text/javascript',
                '.txt': 'text/plain', '.pgn': 'application/x-chess-pgn' };
const requests = [];
const server = http.createServer((req, res) => {
  const url = new URL(req.url, 'http://127.0.0.1');
  requests.push(url.pathname + url.search);
  if (url.pathname === '/favicon.ico') {
    // The classic pages name no icon; the browser asks all the same.
    res.writeHead(204);
    res.end();
    return;
  }
  const file = path.normalize(path.join(siteFolder, decodeURIComponent(url.pathname)));
  if (!file.startsWith(path.resolve(siteFolder)) || !fs.existsSync(file) ||
      fs.statSync(file).isDirectory()) {
    res.writeHead(404);
    res.end('not found');
    return;
  }
  res.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
                       'Cache-Control': 'max-age=3600' });
  fs.createReadStream(file).pipe(res);
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const base = `http://127.0.0.1:${server.address().port}/`;
const m = (name) => `${base}m/${name}`;

const problems = [];
function check(condition, text) {
  if (!condition) problems.push(text);
  return condition;
}

// The kinds of phone page: home, a round with results, the last round, standings, the
// player list, a player's card, and the poster when the site has one.
const rounds = fs.readdirSync(path.join(siteFolder, 'm')).filter((f) => /^round\d+\.html$/.test(f));
const lastRound = Math.max(...rounds.map((f) => Number(f.match(/\d+/)[0])));
const kinds = ['index.html', 'round1.html', `round${lastRound}.html`, 'standings1.html',
               'players.html', 'player1.html'];
if (fs.existsSync(path.join(siteFolder, 'm', 'poster.html'))) kinds.push('poster.html');

async function finish(code) {
  server.close();
  if (problems.length) {
    console.error(`phone pages: ${problems.length} problem(s):\n  ${problems.join('\n  ')}`);
    process.exit(1);
  }
  console.log(code);
  process.exit(0);
}

if (lighthouseRun) {
  const { default: lighthouse } = await import('lighthouse');
  const { launch } = await import('chrome-launcher');
  const chrome = await launch({
    chromePath: chromiumPath,
    chromeFlags: ['--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run',
                  '--disable-background-networking', '--disable-component-update',
                  '--disable-sync'],
  });
  try {
    for (const name of ['index.html', 'round1.html', 'standings1.html']) {
      const result = await lighthouse(m(name), {
        port: chrome.port, output: 'json', logLevel: 'error',
        onlyCategories: ['performance', 'accessibility', 'best-practices'],
      });
      const lhr = result.lhr;
      fs.writeFileSync(path.join(artifacts, `lighthouse-${name}.json`), result.report);
      const score = (id) => lhr.categories[id].score;
      const line = `${name}: performance ${score('performance')}, accessibility ` +
                   `${score('accessibility')}, best practices ${score('best-practices')}`;
      console.log(line);
      check(lhr.configSettings.formFactor === 'mobile', `${name}: Lighthouse did not run as mobile`);
      check(score('performance') >= 0.95, `${name}: performance ${score('performance')} < 0.95`);
      for (const id of ['accessibility', 'best-practices']) {
        if (!check(score(id) === 1, `${name}: ${id} ${score(id)} < 1`)) {
          for (const ref of lhr.categories[id].auditRefs) {
            const audit = lhr.audits[ref.id];
            if (ref.weight > 0 && audit.score !== null && audit.score < 1) {
              problems.push(`  ${name}: ${ref.id}: ${audit.title}`);
            }
          }
        }
      }
    }
  } finally {
    await chrome.kill();
  }
  await finish('Lighthouse: phone pages passed.');
}

const axeSource = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
const browser = await chromium.launch({
  executablePath: chromiumPath,
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});

function watch(page) {
  page.on('pageerror', (e) => problems.push(`page error on ${page.url()}: ${e.message}`));
  page.on('console', (msg) => {
    if (msg.type() === 'error') problems.push(`console error on ${page.url()}: ${msg.text()}`);
  });
  page.on('requestfailed', (r) => problems.push(`request failed: ${r.url()}`));
  page.on('request', (r) => {
    if (!r.url().startsWith(base) && !r.url().startsWith('data:')) {
      problems.push(`request outside the site: ${r.url()}`);
    }
  });
}

async function phone(scheme, deviceScaleFactor = 3) {
  const context = await browser.newContext({
    viewport: { width: 390, height: 844 }, deviceScaleFactor, isMobile: true,
    hasTouch: true, colorScheme: scheme,
  });
  context.on('page', watch);
  return context;
}

// What a phone page must be, whatever its kind.
async function measure(page, name) {
  const facts = await page.evaluate(() => {
    const visible = (el) => el.getClientRects().length > 0 &&
                            getComputedStyle(el).visibility !== 'hidden';
    const small = [];
    for (const el of document.body.querySelectorAll('*')) {
      const hasText = [...el.childNodes].some((n) => n.nodeType === 3 && n.textContent.trim());
      if (hasText && visible(el) && parseFloat(getComputedStyle(el).fontSize) < 16) {
        small.push(`${el.tagName} "${el.textContent.trim().slice(0, 20)}"`);
      }
    }
    const tiny = [];
    for (const el of document.querySelectorAll('a, button, input')) {
      if (!visible(el)) continue;
      const r = el.getBoundingClientRect();
      if (r.width < 24 || r.height < 24) tiny.push(`${el.tagName} "${el.textContent.trim()}" ${r.width}x${r.height}`);
    }
    const viewport = document.querySelector('meta[name=viewport]');
    return {
      scrollWidth: document.documentElement.scrollWidth, innerWidth: window.innerWidth,
      small, tiny, charset: document.characterSet, lang: document.documentElement.lang,
      viewport: viewport && viewport.content,
      tablesWithoutCaption: [...document.querySelectorAll('table')].filter((t) => !t.caption).length,
      tablesWithoutHeads: [...document.querySelectorAll('table')].filter((t) => !t.querySelector('th')).length,
    };
  });
  check(facts.scrollWidth <= facts.innerWidth,
        `${name}: the page scrolls sideways (${facts.scrollWidth} > ${facts.innerWidth})`);
  check(facts.small.length === 0, `${name}: text below 16px: ${facts.small.slice(0, 5).join(', ')}`);
  check(facts.tiny.length === 0, `${name}: targets below 24x24: ${facts.tiny.slice(0, 5).join(', ')}`);
  check(facts.charset === 'windows-1252', `${name}: character set ${facts.charset}`);
  check(facts.lang === 'en', `${name}: lang ${facts.lang}`);
  check(facts.viewport === 'width=device-width, initial-scale=1', `${name}: viewport ${facts.viewport}`);
  check(facts.tablesWithoutCaption === 0 && facts.tablesWithoutHeads === 0,
        `${name}: a table without caption or header cells`);
  await page.addScriptTag({ content: axeSource });
  const result = await page.evaluate(() => window.axe.run(document, {
    runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa'] },
  }));
  for (const v of result.violations) {
    problems.push(`${name}: axe ${v.id}: ${v.help} (${v.nodes.length}: ${v.nodes[0].target})`);
  }
  return result.passes.length;
}

// The players whose rows a filtered table of the page shows (the rows' own names).
function shownNames(page, selector) {
  return page.$$eval(`${selector} tbody tr:not([hidden])`, (rows) => rows.map((tr) => {
    const own = tr.querySelector('th a') || tr.querySelector('a');
    return own ? own.textContent : '';
  }));
}

async function shot(page, name) {
  await page.screenshot({ path: path.join(artifacts, `phone-${name}.png`) });
}

// The README's screenshots: the home page, a round page with a name searched, standings.
async function screenshots(scheme, deviceScaleFactor) {
  const context = await phone(scheme, deviceScaleFactor);
  const page = await context.newPage();
  await page.goto(m('index.html'));
  await shot(page, `home-${scheme}`);
  await page.goto(m(`round${lastRound}.html`));
  await page.fill('#q', 'mair');
  await shot(page, `round-search-${scheme}`);
  await page.goto(m('standings1.html'));
  await shot(page, `standings-${scheme}`);
  await context.close();
}

if (screenshotsOnly) {
  try {
    for (const scheme of ['light', 'dark']) await screenshots(scheme, 2);
  } finally {
    await browser.close();
  }
  await finish(`Phone screenshots written to ${artifacts}`);
}

try {
  // Every kind of page in both themes.
  let axeChecks = 0;
  for (const scheme of ['light', 'dark']) {
    const context = await phone(scheme);
    const page = await context.newPage();
    for (const name of kinds) {
      await page.goto(m(name));
      await page.waitForLoadState('load');
      axeChecks += await measure(page, `${name} (${scheme})`);
    }
    await page.goto(m(`round${lastRound}.html`));
    await page.fill('#q', 'mair');
    await measure(page, `round${lastRound}.html searched (${scheme})`);
    await context.close();
    await screenshots(scheme, 3);
  }
  check(axeChecks > 0, 'axe-core checked nothing');

  const context = await phone('light');
  const page = await context.newPage();

  // Search ignores case and accents, and everything but letters and digits.
  await page.goto(m('players.html'));
  check(await page.isVisible('#q'), 'no search field on the player list');
  await page.fill('#q', 'sinead');
  const sineads = await shownNames(page, 'table.f');
  check(sineads.length > 1 && sineads.every((n) => /Sin\u00e9ad/.test(n)) &&
        sineads.includes('Burke, Sin\u00e9ad'), `"sinead" shows ${sineads.join('; ')}`);
  await page.fill('#q', 'SORENSEN kevin');
  check(JSON.stringify(await shownNames(page, 'table.f')) === '["S\u00f8rensen, Kevin"]',
        '"SORENSEN kevin" does not find S\u00f8rensen');

  // One player left: chosen, remembered and marked on every page.
  await page.fill('#q', 'oneill');
  check(JSON.stringify(await shownNames(page, 'table.f')) === '["O\'Neill, Siobh\u00e1n"]',
        '"oneill" does not find O\'Neill alone');
  const stored = await page.evaluate(() => Object.entries(localStorage));
  check(stored.length === 1 && stored[0][0].endsWith('/m/') &&
        JSON.parse(stored[0][1]).n === 'O\'Neill, Siobh\u00e1n', `stored: ${JSON.stringify(stored)}`);
  const card = JSON.parse(stored[0][1]).k;
  for (const name of ['standings1.html', 'round1.html', 'players.html']) {
    await page.goto(m(name));
    const marked = await page.$$eval('tr.me', (rows) => rows.map((r) => r.textContent));
    const current = await page.$$eval('a[aria-current=true]', (as) => as.map((a) => a.getAttribute('href')));
    check(marked.length >= 1 && marked.every((t) => t.includes('O\'Neill')),
          `${name}: marked rows ${JSON.stringify(marked)}`);
    check(current.length >= 1 && current.every((h) => h === `player${card}.html`),
          `${name}: aria-current on ${JSON.stringify(current)}`);
    check((await page.textContent('.mk')).includes('O\'Neill, Siobh\u00e1n'), `${name}: no marked-player line`);
  }

  // The phone home shows the chosen player's board at once; a match shows its board,
  // colour and opponent in the current round.
  await page.goto(m('index.html'));
  check(await page.isVisible('#find'), 'the home page does not show the chosen player');
  await page.fill('#q', 'burke');
  const row = await page.$$eval('#find tbody tr:not([hidden])', (rows) =>
    rows.map((r) => [...r.children].map((c) => c.textContent)));
  check(row.length === 1 && row[0][0] === 'Burke, Sin\u00e9ad' && /^\d+$/.test(row[0][1]) &&
        /^(White|Black)$/.test(row[0][2]) && row[0][3].length > 0,
        `"burke" on the home page shows ${JSON.stringify(row)}`);
  // The same board, colour and opponent as the current round's page.
  const current = await page.textContent('h1');
  const n = current.match(/\d+/)[0];
  const roundPage = await context.newPage();
  await roundPage.goto(m(`round${n}.html`));
  const again = await roundPage.$$eval('table.f tbody tr', (rows) => rows
    .filter((r) => r.querySelector('th') && r.querySelector('th').textContent === 'Burke, Sin\u00e9ad')
    .map((r) => [...r.children].map((c) => c.textContent)));
  check(JSON.stringify(again) === JSON.stringify(row), `round ${n} says ${JSON.stringify(again)}`);
  await roundPage.close();
  // Forget: nothing marked any more.
  await page.fill('#q', '');
  await page.click('.mk button');
  check(await page.$$eval('tr.me', (r) => r.length) === 0, 'rows still marked after Forget');
  check(!(await page.isVisible('#find')), 'the home page still shows a player after Forget');

  // A tap on a name among several results chooses that player.
  await page.goto(m('players.html'));
  await page.fill('#q', 'mair');
  const several = await shownNames(page, 'table.f');
  check(several.length > 1, `"mair" shows ${several.length} players`);
  await Promise.all([page.waitForURL(/player\d+\.html$/),
                     page.click('table.f tbody tr:not([hidden]) th a >> nth=1')]);
  const tapped = JSON.parse(await page.evaluate(() => Object.values(localStorage)[0]));
  check(tapped.n === several[1] && page.url().endsWith(`/player${tapped.k}.html`),
        `tapping ${several[1]} chose ${JSON.stringify(tapped)} at ${page.url()}`);
  await page.evaluate(() => localStorage.clear());

  // Deep links: #q=NAME opens with the filter set, also when only the hash changes.
  await page.goto(m('round1.html#q=Dvo%C3%B8%C3%A1k'));
  check(JSON.stringify(await shownNames(page, 'table:has(> caption#a)')) === '["Dvo\u00f8\u00e1k, Declan"]',
        `#q=Dvoøák shows ${JSON.stringify(await shownNames(page, 'table:has(> caption#a)'))}`);
  check(await page.inputValue('#q') === 'Dvo\u00f8\u00e1k', 'the field does not show the deep link');
  await page.evaluate(() => { location.hash = '#q=brennan'; });
  await page.waitForFunction(() => document.getElementById('q').value === 'brennan');
  check(JSON.stringify(await shownNames(page, 'table:has(> caption#a)')) === '["Brennan, Mair\u00e9ad"]',
        `#q=brennan shows ${JSON.stringify(await shownNames(page, 'table:has(> caption#a)'))}`);

  // Print: no navigation, no search.
  await page.emulateMedia({ media: 'print' });
  const printed = await page.evaluate(() => ['header', 'nav', 'footer', 'form.s']
    .map((s) => document.querySelector(s))
    .filter((el) => el && getComputedStyle(el).display !== 'none').map((el) => el.tagName));
  check(printed.length === 0, `printed with ${printed.join(', ')}`);
  await page.emulateMedia({ media: 'screen' });
  await context.close();

  // New results: version.txt is checked past the cache at most once a minute while the page
  // is visible; a change offers a reload.
  const versionFile = path.join(siteFolder, 'm', 'version.txt');
  const version = fs.readFileSync(versionFile, 'utf8');
  const notice = await phone('light');
  const watched = await notice.newPage();
  await watched.clock.install();
  requests.length = 0;
  await watched.goto(m('index.html'));
  const polls = () => requests.filter((r) => r.startsWith('/m/version.txt?')).length;
  // The page's own clock stands still; the server's log tells when it asked.
  for (let waited = 0; polls() === 0 && waited < 5000; waited += 50) {
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  check(polls() === 1, `version.txt asked ${polls()} times at load`);
  await watched.clock.runFor(40000);
  check(polls() === 1, `version.txt asked ${polls()} times within a minute`);
  check(!(await watched.isVisible('.nt')), 'a notice without new results');
  try {
    fs.writeFileSync(versionFile, '0123456789abcdef\r\n');
    await watched.clock.runFor(30000);
    for (let waited = 0; !(await watched.$('.nt')) && waited < 5000; waited += 50) {
      await new Promise((resolve) => setTimeout(resolve, 50));
    }
    check(await watched.$('.nt'), 'no notice after version.txt changed');
    check(polls() === 2, `version.txt asked ${polls()} times after a minute`);
    check((await watched.textContent('.nt')).includes('New results'), 'the notice says nothing');
    check(!watched.url().includes('?'), 'the page reloaded by itself');
    await watched.locator('.nt').screenshot({ path: path.join(artifacts, 'phone-notice.png') });
    await Promise.all([watched.waitForEvent('load'), watched.click('.nt button')]);
  } finally {
    fs.writeFileSync(versionFile, version);
  }
  await notice.close();

  // The classic home page sends phones to the phone pages, unless asked for the full site.
  const redirect = await phone('light');
  const home = await redirect.newPage();
  await home.goto(base + 'index.html');
  await home.waitForURL(/\/m\/index\.html$/);
  const full = await home.getAttribute('footer a:has-text("Full site")', 'href');
  check(full === '../index.html?full', `"Full site" leads to ${full}`);
  await home.click('footer a:has-text("Full site")');
  await home.waitForLoadState('load');
  await home.waitForTimeout(300);
  check(home.url() === base + 'index.html?full' && home.frame({ name: 'main' }) !== null,
        `"Full site" ends at ${home.url()}`);
  await redirect.close();
  const desktop = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  desktop.on('page', watch);
  const wide = await desktop.newPage();
  await wide.goto(base + 'index.html');
  await wide.waitForTimeout(300);
  check(wide.url() === base + 'index.html', `a desktop browser was sent to ${wide.url()}`);
  await desktop.close();
} finally {
  await browser.close();
}
await finish(`Phone pages passed: ${kinds.length} kinds of page in two themes.`);
