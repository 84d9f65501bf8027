// A headless chromium on the built page, served from build-web/web on 127.0.0.1, with a fake
// Web Serial port that models the wire.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize } from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const root = fileURLToPath(new URL('../../', import.meta.url));
export const site = process.env.BREVANT_SITE || join(root, 'build-web', 'web');
export const examples = join(root, 'examples');
const fakeSerial = await readFile(fileURLToPath(new URL('fake_serial.js', import.meta.url)), 'utf8');

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm' };

export async function serve() {
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname)).replace(/^\/+/, '');
    try {
      const body = await readFile(join(site, path || 'index.html'));
      response.writeHead(200, { 'content-type': TYPES[extname(path || 'index.html')] || 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { server, address: `http://127.0.0.1:${server.address().port}/` };
}

export async function launch() {
  return chromium.launch({ executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true });
}

// A page with the fake port (unless `serial` is false) and no File System Access pickers, so
// Open falls back to a file input and Save to a download.
export async function openPage(browser, address, { serial = true, hash = '' } = {}) {
  const context = await browser.newContext({ acceptDownloads: true, deviceScaleFactor: 1 });
  await context.addInitScript(() => {
    delete window.showOpenFilePicker;
    delete window.showSaveFilePicker;
  });
  if (serial) await context.addInitScript(fakeSerial);
  else await context.addInitScript(() => { delete Navigator.prototype.serial; });
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error));
  await page.goto(address + hash);
  await page.waitForFunction(() => document.getElementById('status').textContent !== 'Loading…');
  page.errors = errors;
  return page;
}

export async function status(page) {
  return page.locator('[role="status"]').textContent();
}

// The canvas's pixels as RGBA bytes.
export async function canvasPixels(page) {
  return page.evaluate(() => {
    const canvas = document.getElementById('preview');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    return { width: canvas.width, height: canvas.height, rgba: Array.from(data) };
  });
}

// Gives `path` to the file chooser that pressing `button` opens, and waits until the page says
// what came of it.
export async function chooseFile(page, button, path) {
  await page.evaluate(() => { document.getElementById('status').textContent = ''; });
  const chooser = page.waitForEvent('filechooser');
  await page.getByRole('button', { name: button, exact: true }).click();
  await (await chooser).setFiles(path);
  await page.waitForFunction(() => document.getElementById('status').textContent !== '');
}

export async function openFile(page, path) {
  await chooseFile(page, 'Open', path);
}

export async function saveBytes(page) {
  const downloading = page.waitForEvent('download');
  await page.getByRole('button', { name: 'Save', exact: true }).click();
  const download = await downloading;
  const chunks = [];
  for await (const chunk of await download.createReadStream()) chunks.push(chunk);
  return { name: download.suggestedFilename(), bytes: Buffer.concat(chunks) };
}
