// The web page in headless chromium: how soon it is ready, how long a keystroke takes to draw,
// and how much it loads; each beside a baseline measured in the same run.
import { readdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';
import { serve, launch, site } from '../../tests/web/harness.js';

const json = process.argv.includes('--json');
const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];

function report(figure, value, baseline, unit, note) {
  if (json) {
    console.log(JSON.stringify({ figure, build: 'wasm', value, baseline, unit, note }));
  } else {
    const ratio = baseline ? (value / baseline).toFixed(2) : '-';
    console.log(`${figure.padEnd(16)} ${'wasm'.padEnd(7)} ${`${value.toFixed(2)} ${unit}`.padStart(13)} ` +
      `${`${baseline.toFixed(2)} ${unit}`.padStart(13)} ${ratio.padStart(8)}  ${note}`);
  }
}

const served = await serve();
const browser = await launch();

// A cold load each time: a new context has an empty cache.
async function coldLoad(path, ready) {
  const context = await browser.newContext();
  await context.route('**/empty.html', (route) => route.fulfill({ contentType: 'text/html', body: '<!doctype html><title>empty</title>' }));
  const page = await context.newPage();
  const start = performance.now();
  await page.goto(served.address + path);
  await page.waitForFunction(ready);
  const ms = performance.now() - start;
  await context.close();
  return ms;
}

const ready = [];
const empty = [];
for (let i = 0; i < 7; ++i) {
  ready.push(await coldLoad('', () => document.getElementById('status')?.textContent !== 'Loading…'));
  empty.push(await coldLoad('empty.html', () => document.readyState === 'complete'));
}
report('page ready', median(ready), median(empty), 'ms', 'wasm loaded and the first frame drawn; baseline an empty page; aim <= 300 ms');

const context = await browser.newContext();
const page = await context.newPage();
await page.goto(served.address);
await page.waitForFunction(() => document.getElementById('status').textContent !== 'Loading…');
const [keystroke, bare] = await page.evaluate(() => {
  const canvas = document.getElementById('preview');
  const quiet = document.createElement('div');
  document.body.append(quiet);
  const time = (target) => {
    const times = [];
    for (let i = 0; i < 300; ++i) {
      const start = performance.now();
      target.dispatchEvent(new KeyboardEvent('keydown', { key: 'abcdefgh'[i % 8], bubbles: true, cancelable: true }));
      times.push(performance.now() - start);
    }
    return times.sort((a, b) => a - b)[150];
  };
  return [time(canvas), time(quiet)];
});
report('keystroke', keystroke, bare, 'ms', 'typed code to the next frame on the canvas; baseline the same event with no listener; aim <= 2 ms');
await context.close();

const files = readdirSync(site).filter((name) => !name.startsWith('.'));
const bytes = files.reduce((sum, name) => sum + readFileSync(join(site, name)).length, 0);
const gzipped = files.reduce((sum, name) => sum + gzipSync(readFileSync(join(site, name))).length, 0);
report('page size', bytes / 1024, 400, 'KB', `${files.length} files, ${(gzipped / 1024).toFixed(1)} KB gzipped; baseline the 400 KB aim`);

await browser.close();
served.server.close();
