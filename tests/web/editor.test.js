// The page in a real chromium: its pixels, edits, files, exports and serial bytes are the core's.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import { closeSync, existsSync, mkdtempSync, openSync, readFileSync, writeFileSync, writeSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { serve, launch, openPage, status, canvasPixels, chooseFile, openFile, saveBytes, examples } from './harness.js';

const root = fileURLToPath(new URL('../../', import.meta.url));
const native = process.env.BREVANT_NATIVE || join(root, 'build-native');
const cli = join(native, 'cli', 'brevant-cli');

let browser;
let served;

before(async () => {
  served = await serve();
  browser = await launch();
});

after(async () => {
  await browser?.close();
  served?.server.close();
});

function nativePreview(file, ...typed) {
  const output = execFileSync(join(native, 'tests', 'web', 'native_preview'), [file, ...typed]);
  const header = output.indexOf(10);
  const [width, height] = output.subarray(0, header).toString().split(' ').map(Number);
  return { width, height, rgba: Array.from(output.subarray(header + 1)) };
}

async function typeInto(page, text) {
  await page.locator('#preview').focus();
  await page.keyboard.type(text);
}

// Where the page is after an action: its status and the wire's record.
async function wire(page) {
  return page.evaluate(() => ({
    writes: window.__wire.writes,
    departures: window.__wire.departures,
    opens: window.__wire.opens,
  }));
}

function storeSteps(file) {
  // The core's own store plan for the file, natively: "export --format bytes" joins its writes.
  return [...execFileSync(cli, ['export', file, '--format', 'bytes'])];
}

test('the canvas at zoom 1 is the core preview pixel for pixel, cursor box included', async () => {
  for (const name of ['weather-2x20.kss', 'battery-4x20.kss', 'shop-2x16.kss']) {
    const page = await openPage(browser, served.address);
    await page.selectOption('#zoom', '1');
    await openFile(page, join(examples, name));
    await typeInto(page, 'Hi');
    const shown = await canvasPixels(page);
    const expected = nativePreview(join(examples, name), 'Hi');
    assert.equal(shown.width, expected.width, name);
    assert.equal(shown.height, expected.height, name);
    const differing = shown.rgba.findIndex((value, i) => value !== expected.rgba[i]);
    assert.equal(differing, -1, `${name}: first differing byte ${differing}`);
    assert.deepEqual(page.errors, []);
    await page.context().close();
  }
});

test('open and save give the file back byte for byte, and a short file is read partly with a message', async () => {
  const page = await openPage(browser, served.address);
  const file = join(examples, 'battery-4x20.kss');
  await openFile(page, file);
  assert.equal(await page.locator('#size').inputValue(), '4x20');
  const saved = await saveBytes(page);
  assert.equal(saved.name, 'battery-4x20.kss');
  assert.deepEqual([...saved.bytes], [...readFileSync(file)]);

  const short = join(fileURLToPath(new URL('.', import.meta.url)), 'short.kss');
  await openFile(page, short);
  assert.match(await status(page), /^Error loading: the file ends before its text does/);
  await page.context().close();
});

test('typing, Backspace, a drag and a drop off the panel edit as the editor does, and undo takes them back', async () => {
  const page = await openPage(browser, served.address);
  await page.selectOption('#zoom', '1');
  // The first Backspace erases the empty box under the cursor, the second the "c".
  await typeInto(page, 'abc');
  await page.keyboard.press('Backspace');
  await page.keyboard.press('Backspace');
  const box = await page.locator('#preview').boundingBox();
  // Drag the "a" (column 1) to column 6, then drag the "b" below the panel.
  await page.mouse.move(box.x + 8, box.y + 12);
  await page.mouse.down();
  await page.mouse.move(box.x + 5 * 17 + 8, box.y + 12);
  await page.mouse.up();
  await page.mouse.move(box.x + 17 + 8, box.y + 12);
  await page.mouse.down();
  await page.mouse.move(box.x + 17 + 8, box.y + 200);
  await page.mouse.up();
  const text = async () => [...(await saveBytes(page)).bytes.subarray(452, 472)].map((c) => String.fromCharCode(c)).join('');
  assert.equal(await text(), '     a              ');
  await page.getByRole('button', { name: 'Undo' }).click();
  assert.equal(await text(), ' b   a              ');
  await page.keyboard.press('Control+z');
  assert.equal(await text(), 'ab                  ');
  await page.keyboard.press('Control+y');
  assert.equal(await text(), ' b   a              ');
  await page.context().close();
});

test('every edit mirrors exactly the core mirror bytes, one write call per step', async () => {
  const page = await openPage(browser, served.address);
  const file = join(examples, 'logo-2x20.kss');
  await openFile(page, file);
  await page.getByRole('button', { name: 'Connect' }).click();
  await page.waitForFunction(() => window.__wire.opens.length === 1);
  assert.deepEqual((await wire(page)).opens, [19200]);
  await typeInto(page, 'Q');
  await page.waitForFunction(() => window.__wire.writes.length >= 2 * 98);
  const { writes } = await wire(page);
  assert.equal(writes.length, 2 * 98);
  // The mirror is built from what a store sends: the same character rows, and the first two
  // rows placed by cursor commands, each a block of 20 in one write.
  const store = storeSteps(file);
  const text = store.slice(90, 130);
  text[0] = 'Q'.charCodeAt(0);
  const expected = [];
  for (let c = 0; c < 8; ++c) {
    for (const byte of [0xfe, 0x4e, c, ...store.slice(c * 11 + 3, c * 11 + 11)]) expected.push([byte]);
  }
  for (const row of [1, 2]) {
    for (const byte of [0xfe, 0x47, 1, row]) expected.push([byte]);
    expected.push(text.slice((row - 1) * 20, row * 20));
  }
  assert.deepEqual(writes.slice(98), expected);
  await page.context().close();
});

test('Write to Display sends the store plan and begins every pause only after the bytes before it left', async () => {
  const page = await openPage(browser, served.address);
  const file = join(examples, 'logo-2x20.kss');
  await openFile(page, file);
  await page.selectOption('#speed', '2400');
  await page.getByRole('button', { name: 'Connect' }).click();
  await page.waitForFunction(() => window.__wire.opens.length === 1);
  await page.waitForFunction(() => window.__wire.writes.length === 98);
  await page.evaluate(() => {
    window.__wire.writes.length = 0;
    window.__wire.departures.length = 0;
  });
  await page.getByRole('button', { name: 'Write to Display' }).click();
  await page.waitForFunction(() => /stored|failed/.test(document.getElementById('status').textContent));
  assert.equal(await status(page), 'Start screen stored: the module shows it at every power-on');
  const { writes, departures } = await wire(page);
  const expected = storeSteps(file);
  assert.deepEqual(writes.flat(), expected);
  assert.ok(writes.every((w) => w.length === 1));
  // Pauses follow the 11th byte of each character (20 ms), text bytes 1, 9, 17, ... (20 ms).
  const byteMs = 10000 / 2400;
  const pauseAfter = new Set();
  for (let c = 1; c <= 8; ++c) pauseAfter.add(11 * c);
  for (let k = 0; k < 40; k += 8) pauseAfter.add(90 + k + 1);
  for (const index of pauseAfter) {
    const gap = departures[index].time - departures[index - 1].time;
    assert.ok(gap >= 20 + byteMs - 0.5, `the pause after byte ${index} began before its bytes had left: ${gap} ms`);
  }
  await page.context().close();
});

test('a port that goes away part-way is reported with its bytes and mirroring stops until Connect', async () => {
  const page = await openPage(browser, served.address);
  await page.getByRole('button', { name: 'Connect' }).click();
  await page.waitForFunction(() => window.__wire.writes.length === 98);
  await page.evaluate(() => { window.__wire.goAwayAfter = 50; });
  await page.getByRole('button', { name: 'Write to Display' }).click();
  await page.waitForFunction(() => /failed/.test(document.getElementById('status').textContent));
  assert.match(await status(page), /^Write failed after (4[89]|50) of 130 bytes .*the module does not hold the start screen; mirroring is off/);
  const before = (await wire(page)).writes.length;
  await typeInto(page, 'x');
  await page.waitForTimeout(200);
  assert.equal((await wire(page)).writes.length, before, 'nothing is sent while mirroring is off');
  await page.getByRole('button', { name: 'Connect' }).click();
  await page.waitForFunction((n) => window.__wire.writes.length >= n + 98, before);
  await page.context().close();
});

test('exports are the command line\'s bytes, and the share link and storage bring the screen back', async () => {
  const page = await openPage(browser, served.address);
  const file = join(examples, 'weather-2x20.kss');
  await openFile(page, file);
  for (const [format, flag] of [['json', 'json'], ['c', 'c'], ['arduino', 'arduino'], ['png', null]]) {
    await page.selectOption('#export-format', format);
    const downloading = page.waitForEvent('download');
    await page.getByRole('button', { name: 'Export' }).click();
    const download = await downloading;
    const chunks = [];
    for await (const chunk of await download.createReadStream()) chunks.push(chunk);
    let expected;
    if (flag) {
      expected = execFileSync(cli, ['export', file, '--format', flag]);
    } else {
      const png = join(mkdtempSync(join(tmpdir(), 'brevant-')), 'weather.png');
      execFileSync(cli, ['render', file, '-o', png]);
      expected = readFileSync(png);
    }
    assert.deepEqual(Buffer.concat(chunks), expected, format);
  }
  await page.getByRole('button', { name: 'Share link' }).click();
  const address = page.url();
  assert.match(address, /#kss=[A-Za-z0-9_-]+$/);
  const shared = await openPage(browser, address);
  assert.deepEqual([...(await saveBytes(shared)).bytes], [...readFileSync(file)]);
  await shared.context().close();

  await page.reload();
  await page.evaluate(() => history.replaceState(null, '', location.pathname));
  await page.reload();
  assert.equal(await status(page), 'Screen restored from the last visit');
  assert.deepEqual([...(await saveBytes(page)).bytes], [...readFileSync(file)]);
  await page.context().close();
});

test('without Web Serial everything else works and Connect says why it cannot', async () => {
  const page = await openPage(browser, served.address, { serial: false });
  await page.getByRole('button', { name: 'Connect' }).click();
  assert.match(await status(page), /^Cannot connect: this browser has no Web Serial/);
  await typeInto(page, 'ok');
  assert.deepEqual([...(await saveBytes(page)).bytes.subarray(452, 454)], [0x6f, 0x6b]);
  await page.context().close();
});

function scratch() {
  return mkdtempSync(join(tmpdir(), 'brevant-web-'));
}

// The command line's message for the same fault, without its program name.
function cliMessage(args, cwd) {
  try {
    execFileSync(cli, args, { cwd, stdio: ['ignore', 'ignore', 'pipe'] });
  } catch (error) {
    return error.stderr.toString().trim().replace(/^brevant-cli: /, '');
  }
  throw new Error(`brevant-cli ${args.join(' ')} did not refuse`);
}

async function importJson(page, path) {
  await chooseFile(page, 'Import', path);
}

async function placeLogo(page, path, row, column) {
  await page.getByRole('button', { name: 'Logo' }).click();
  await page.fill('#logo-row', String(row));
  await page.fill('#logo-column', String(column));
  await chooseFile(page, 'Choose picture', path);
}

test('bad files are read as the editor reads them or refused, and always said', async () => {
  const folder = scratch();
  const page = await openPage(browser, served.address);
  await page.selectOption('#zoom', '1');
  await typeInto(page, 'before');
  const before = (await saveBytes(page)).bytes;

  const huge = join(folder, 'huge.kss');
  writeFileSync(huge, Buffer.alloc((1 << 20) + 1, 0x41));
  await openFile(page, huge);
  assert.equal(await status(page), `huge.kss: ${(1 << 20) + 1} bytes is too large for a start screen; nothing was read`);
  assert.deepEqual((await saveBytes(page)).bytes, before);

  // Random bytes are read exactly as the core reads them.
  let seed = 7;
  const random = Buffer.alloc(600).map(() => (seed = (seed * 1103515245 + 12345) % 2147483648) >> 16);
  const noise = join(folder, 'noise.kss');
  writeFileSync(noise, random);
  await openFile(page, noise);
  const shown = await canvasPixels(page);
  assert.deepEqual(shown.rgba, nativePreview(noise).rgba);

  const empty = join(folder, 'empty.kss');
  writeFileSync(empty, Buffer.alloc(0));
  await openFile(page, empty);
  assert.match(await status(page), /^Error loading/);
  await page.getByRole('button', { name: 'Undo' }).click();
  await page.getByRole('button', { name: 'Undo' }).click();
  assert.deepEqual((await saveBytes(page)).bytes, before, 'undo brings back the screen before the bad files');

  const json = join(folder, 'bad.json');
  writeFileSync(json, '{"geometry": "2x20", "sizeCode": 32776, "rows": ["too", "many", "rows"], "characters": []}');
  await importJson(page, json);
  assert.equal(await status(page), cliMessage(['import', 'bad.json', '-o', 'x.kss'], folder));
  assert.deepEqual((await saveBytes(page)).bytes, before);

  const picture = join(folder, 'speckles.png');
  execFileSync('convert', ['-size', '50x16', 'xc:', '+noise', 'Random', '-colorspace', 'gray', '-threshold', '50%',
    '-type', 'bilevel', picture]);
  await placeLogo(page, picture, 1, 1);
  const refused = cliMessage(['logo', 'speckles.png', '--geometry', '2x20', '--at', '1,1', '-o', 'y.kss'], folder);
  assert.match(refused, /user characters; \d of 8 are free$/);
  assert.equal(await status(page), refused);
  assert.deepEqual((await saveBytes(page)).bytes, before);
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test('a logo is cut as the command line cuts it, and a drawn character is kept by OK only', async () => {
  const folder = scratch();
  const page = await openPage(browser, served.address);
  await page.selectOption('#zoom', '1');
  const base = join(examples, 'weather-2x20.kss');
  await openFile(page, base);
  await placeLogo(page, join(examples, 'brevant-logo.png'), 1, 17);
  assert.equal(await status(page), 'brevant-logo.png: placed');
  const expected = join(folder, 'logo.kss');
  execFileSync(cli, ['logo', join(examples, 'brevant-logo.png'), '--from', base, '--at', '1,17', '-o', expected]);
  assert.deepEqual((await saveBytes(page)).bytes, readFileSync(expected));

  // Palette slot 7 sits below the panel: 50 + 7 * 30 pixels from the left.
  const box = await page.locator('#preview').boundingBox();
  const slot = { x: box.x + 50 + 7 * 30 + 8, y: box.y + 2 * 26 + 8 + 12 };
  const glyph7 = async () => [...(await saveBytes(page)).bytes.subarray(4 + 7 * 56, 4 + 8 * 56)];
  const drawn = await glyph7();
  await page.mouse.dblclick(slot.x, slot.y);
  await page.getByRole('button', { name: 'row 1, column 1' }).click();
  await page.getByRole('button', { name: 'Cancel' }).click();
  assert.deepEqual(await glyph7(), drawn);

  await page.mouse.dblclick(slot.x, slot.y);
  const dot = page.getByRole('button', { name: 'row 8, column 5' });
  await dot.focus();
  await page.keyboard.press('Space');
  await page.getByRole('button', { name: 'OK' }).click();
  const after = await glyph7();
  assert.equal(after[7 * 7 + 4], drawn[7 * 7 + 4] ? 0 : 1);
  assert.deepEqual(after.filter((_, i) => i !== 7 * 7 + 4), drawn.filter((_, i) => i !== 7 * 7 + 4).map((b) => (b ? 1 : 0)));
  await page.context().close();
});

test('a screen stored from the page is what a virtual module shows after a power cycle', async () => {
  const folder = scratch();
  const vmodule = join(native, 'tools', 'vmodule', 'vmodule');
  const line = join(folder, 'line');
  const state = join(folder, 'state');
  const module = spawn(vmodule, ['--geometry', '2x20', '--link', line, '--state', state, '--quiet']);
  try {
    for (let i = 0; i < 100 && !existsSync(line); ++i) await new Promise((r) => setTimeout(r, 50));
    execFileSync('stty', ['-F', line, 'raw', '-echo', '19200']);
    const fd = openSync(line, 'w');
    const page = await openPage(browser, served.address);
    await page.exposeBinding('__bridge', (source, bytes) => writeSync(fd, Buffer.from(bytes)));
    const file = join(examples, 'logo-2x20.kss');
    await openFile(page, file);
    await page.getByRole('button', { name: 'Connect' }).click();
    await page.getByRole('button', { name: 'Write to Display' }).click();
    await page.waitForFunction(() => /stored|failed/.test(document.getElementById('status').textContent));
    assert.equal(await status(page), 'Start screen stored: the module shows it at every power-on');
    await page.waitForTimeout(300);
    await page.context().close();
    closeSync(fd);
  } finally {
    module.kill('SIGTERM');
    await new Promise((resolve) => module.once('exit', resolve));
  }
  const dump = Object.fromEntries(execFileSync(vmodule, ['--state', state, '--power-cycle', '--dump']).toString()
    .split('\n').filter((l) => l.includes(': ')).map((l) => [l.slice(0, l.indexOf(': ')), l.slice(l.indexOf(': ') + 2)]));
  const sent = storeSteps(join(examples, 'logo-2x20.kss'));
  const hex = (bytes) => bytes.map((b) => b.toString(16).toUpperCase().padStart(2, '0')).join(' ');
  for (let c = 0; c < 8; ++c) assert.equal(dump[`char${c}`], hex(sent.slice(c * 11 + 3, c * 11 + 11)), `char${c}`);
  assert.equal(dump['row1.hex'], hex(sent.slice(90, 110)));
  assert.equal(dump['row2.hex'], hex(sent.slice(110, 130)));
});

test('a file dropped on the page opens as Open opens it', async () => {
  const page = await openPage(browser, served.address);
  const file = join(examples, 'shop-2x16.kss');
  const bytes = [...readFileSync(file)];
  await page.evaluate(() => { document.getElementById('status').textContent = ''; });
  await page.evaluate((content) => {
    const transfer = new DataTransfer();
    transfer.items.add(new File([new Uint8Array(content)], 'dropped.kss'));
    document.body.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
  }, bytes);
  await page.waitForFunction(() => document.getElementById('status').textContent !== '');
  assert.equal(await status(page), 'dropped.kss: opened');
  assert.equal(await page.locator('#size').inputValue(), '2x16');
  const saved = await saveBytes(page);
  assert.equal(saved.name, 'dropped.kss');
  assert.deepEqual([...saved.bytes], bytes);
  await page.context().close();
});

test('arrow keys move the cursor without changing text or sending, and Tab leaves the preview', async () => {
  const page = await openPage(browser, served.address);
  await page.selectOption('#size', '4x20');
  await page.getByRole('button', { name: 'Connect' }).click();
  await page.waitForFunction(() => window.__wire.writes.length === 98);
  await typeInto(page, 'a');
  await page.waitForFunction(() => window.__wire.writes.length === 2 * 98);
  for (const key of ['ArrowRight', 'ArrowDown', 'ArrowDown', 'ArrowLeft', 'ArrowLeft', 'ArrowLeft']) {
    await page.keyboard.press(key);
  }
  await page.waitForTimeout(100);
  assert.equal((await wire(page)).writes.length, 2 * 98, 'a cursor move sends nothing');
  await page.keyboard.type('b');
  const text = [...(await saveBytes(page)).bytes.subarray(452, 532)].map((c) => String.fromCharCode(c)).join('');
  assert.equal(text, 'a' + ' '.repeat(39) + 'b' + ' '.repeat(39));
  await page.locator('#preview').focus();
  await page.keyboard.press('Tab');
  assert.notEqual(await page.evaluate(() => document.activeElement.id), 'preview');
  await page.context().close();
});
