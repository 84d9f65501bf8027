// The page: it turns the browser's events into the core's calls and draws what the core renders.
import createBrevant from './brevant.js';
import { ModuleLink } from './module_link.js';
import { fromBase64Url, toBase64Url, download } from './page_files.js';

const STORAGE_KEY = 'brevant.screen';
const $ = (id) => document.getElementById(id);

const core = await createBrevant();
const editor = new core.Editor();
const link = new ModuleLink();
const canvas = $('preview');
const context = canvas.getContext('2d');
let fileName = '';
let fileHandle = null;

function say(text) {
  $('status').textContent = text;
}

function zoom() {
  return Number($('zoom').value);
}

function draw() {
  const width = editor.width();
  const height = editor.height();
  if (canvas.width !== width || canvas.height !== height) {
    canvas.width = width;
    canvas.height = height;
  }
  canvas.style.width = `${width * zoom()}px`;
  canvas.style.height = `${height * zoom()}px`;
  context.putImageData(new ImageData(new Uint8ClampedArray(editor.pixels().buffer), width, height), 0, 0);
  $('size').value = editor.sizeName() || $('size').value;
  $('undo').disabled = !editor.canUndo();
  $('redo').disabled = !editor.canRedo();
}

function keep() {
  try {
    localStorage.setItem(STORAGE_KEY, toBase64Url(editor.save()));
  } catch {
    // Storage may be full or switched off; the screen stays in the page.
  }
}

async function mirror() {
  const result = await link.mirror(editor.mirrorPlan());
  if (result && !result.ok) {
    say(`Write failed after ${result.sent} of ${result.total} bytes (${result.reason}): mirroring is off until you connect again`);
  }
}

// After every command: redraw, remember, and show the module the screen.
function changed({ edited = true } = {}) {
  draw();
  if (edited) keep();
  editor.takeChange();
  mirror();
}

function afterInput(edited) {
  draw();
  if (edited) keep();
  if (editor.takeChange()) mirror();
}

function pointAt(event) {
  const box = canvas.getBoundingClientRect();
  const scale = box.width / canvas.width;
  return [Math.floor((event.clientX - box.left) / scale), Math.floor((event.clientY - box.top) / scale)];
}

canvas.addEventListener('pointerdown', (event) => {
  if (event.button !== 0) return;
  canvas.focus();
  editor.press(...pointAt(event));
  if (editor.dragging()) canvas.setPointerCapture(event.pointerId);
  afterInput(false);
  event.preventDefault();
});

canvas.addEventListener('pointermove', (event) => {
  if (!editor.dragging()) return;
  editor.move(...pointAt(event));
  draw();
});

canvas.addEventListener('pointerup', (event) => {
  if (event.button !== 0) return;
  editor.move(...pointAt(event));
  afterInput(editor.release());
});

canvas.addEventListener('lostpointercapture', () => {
  if (editor.dragging()) afterInput(editor.loseCapture());
});

canvas.addEventListener('dblclick', (event) => {
  const slot = editor.paletteSlotAt(...pointAt(event));
  if (slot >= 0) editCharacter(slot);
});

const SHORTCUTS = { n: 'new', o: 'open', s: 'save', z: 'undo', y: 'redo' };

document.addEventListener('keydown', (event) => {
  if (event.ctrlKey || event.metaKey) {
    const command = SHORTCUTS[event.key.toLowerCase()];
    if (command && !event.altKey) {
      event.preventDefault();
      $(command).click();
    }
  }
});

const ARROWS = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };

canvas.addEventListener('keydown', (event) => {
  if (event.ctrlKey || event.metaKey || event.altKey) return;
  if (ARROWS[event.key]) {
    event.preventDefault();
    editor.moveCursor(...ARROWS[event.key]);
    draw();
    return;
  }
  // Tab leaves the preview, as everywhere on a page; the editor ignores it anyway.
  let code = -1;
  if (event.key === 'Backspace') code = 8;
  else if (event.key === 'Enter') code = 13;
  else if (event.key === 'Escape') code = 27;
  else if ([...event.key].length === 1) code = event.key.codePointAt(0);
  if (code < 0) return;
  event.preventDefault();
  // The module's character set is one byte a character; nothing beyond it can be typed.
  if (code > 0xff) {
    say(`"${event.key}" is not in the module's character set`);
    return;
  }
  afterInput(editor.type(code));
});

function editCharacter(code) {
  const dialog = $('char-dialog');
  const dots = $('dots');
  $('char-title').textContent = `User character ${code}`;
  dots.replaceChildren();
  [...editor.pattern(code)].forEach((dot, index) => {
    const button = document.createElement('button');
    button.type = 'button';
    button.setAttribute('aria-label', `row ${Math.floor(index / 5) + 1}, column ${(index % 5) + 1}`);
    button.setAttribute('aria-pressed', String(dot === '#'));
    button.addEventListener('click', () => {
      button.setAttribute('aria-pressed', String(button.getAttribute('aria-pressed') !== 'true'));
    });
    dots.append(button);
  });
  dialog.returnValue = '';
  dialog.onclose = () => {
    if (dialog.returnValue !== 'ok') return;
    const pattern = [...dots.children].map((b) => (b.getAttribute('aria-pressed') === 'true' ? '#' : '.')).join('');
    editor.setPattern(code, pattern);
    changed();
    canvas.focus();
  };
  dialog.showModal();
  dots.firstElementChild.focus();
}

async function readFile(input) {
  return new Promise((resolve) => {
    input.value = '';
    input.onchange = () => resolve(input.files[0] || null);
    input.click();
  });
}

// No start screen comes near this; reading such a file whole would only stall the page.
const MAX_FILE_BYTES = 1 << 20;

async function openFileObject(file) {
  if (file.size > MAX_FILE_BYTES) {
    say(`${file.name}: ${file.size} bytes is too large for a start screen; nothing was read`);
    return;
  }
  openBytes(new Uint8Array(await file.arrayBuffer()), file.name);
}

function openBytes(bytes, name) {
  const message = editor.open(bytes);
  fileName = name;
  changed();
  say(message || `${name}: opened`);
}

$('new').addEventListener('click', () => {
  editor.newScreen();
  fileName = '';
  fileHandle = null;
  changed();
  say('New screen');
});

$('open').addEventListener('click', async () => {
  if (window.showOpenFilePicker) {
    try {
      [fileHandle] = await window.showOpenFilePicker({ types: [{ description: 'Start screens', accept: { 'application/octet-stream': ['.kss'] } }] });
      await openFileObject(await fileHandle.getFile());
    } catch (error) {
      if (error.name !== 'AbortError') say(`Open failed: ${error.message}`);
    }
    return;
  }
  const file = await readFile($('kss-input'));
  if (!file) return;
  fileHandle = null;
  await openFileObject(file);
});

$('save').addEventListener('click', async () => {
  const bytes = editor.save();
  if (fileHandle && fileHandle.createWritable) {
    try {
      const writable = await fileHandle.createWritable();
      await writable.write(bytes);
      await writable.close();
      say(`${fileHandle.name}: saved`);
      return;
    } catch (error) {
      say(`Error saving ${fileHandle.name}: ${error.message}`);
      return;
    }
  }
  const name = fileName || 'screen.kss';
  download(bytes, name, 'application/octet-stream');
  say(`${name}: saved as a download`);
});

$('size').addEventListener('change', () => {
  editor.setSize($('size').value);
  changed();
});

$('undo').addEventListener('click', () => {
  if (editor.undo()) changed();
});

$('redo').addEventListener('click', () => {
  if (editor.redo()) changed();
});

$('zoom').addEventListener('change', draw);

const EXPORTS = {
  json: () => [editor.exportJson(), 'json', 'application/json'],
  c: () => [editor.exportC(), 'h', 'text/x-c'],
  arduino: () => [editor.exportArduino(), 'ino', 'text/plain'],
  png: () => [editor.exportPng(), 'png', 'image/png'],
};

$('export').addEventListener('click', () => {
  const [content, extension, type] = EXPORTS[$('export-format').value]();
  const base = (fileName || 'screen.kss').replace(/\.kss$/i, '');
  download(content, `${base}.${extension}`, type);
  say(`Exported ${base}.${extension}`);
});

$('import').addEventListener('click', async () => {
  const file = await readFile($('json-input'));
  if (!file) return;
  if (file.size > MAX_FILE_BYTES) {
    say(`${file.name}: ${file.size} bytes is too large for a start screen's JSON; nothing was read`);
    return;
  }
  const message = editor.importJson(await file.text(), file.name);
  if (message) {
    say(message);
    return;
  }
  fileName = file.name.replace(/\.json$/i, '.kss');
  changed();
  say(`${file.name}: imported`);
});

$('logo').addEventListener('click', () => {
  const dialog = $('logo-dialog');
  dialog.returnValue = '';
  dialog.onclose = async () => {
    if (dialog.returnValue !== 'ok') return;
    const file = await readFile($('picture-input'));
    if (!file) return;
    let picture;
    try {
      const bitmap = await createImageBitmap(file);
      const scratch = new OffscreenCanvas(bitmap.width, bitmap.height).getContext('2d');
      scratch.drawImage(bitmap, 0, 0);
      picture = scratch.getImageData(0, 0, bitmap.width, bitmap.height);
    } catch {
      say(`${file.name}: not a picture this browser can read`);
      return;
    }
    const message = editor.placeLogo(picture.data, picture.width, picture.height,
      Number($('logo-row').value), Number($('logo-column').value), file.name);
    if (message) {
      say(message);
      return;
    }
    changed();
    say(`${file.name}: placed`);
  };
  dialog.showModal();
});

$('share').addEventListener('click', async () => {
  const address = `${location.origin}${location.pathname}#kss=${toBase64Url(editor.save())}`;
  history.replaceState(null, '', address);
  try {
    await navigator.clipboard.writeText(address);
    say('Share link copied; the screen travels in the link itself');
  } catch {
    say('Share link is in the address bar; the screen travels in the link itself');
  }
});

$('connect').addEventListener('click', async () => {
  const reason = ModuleLink.unavailableReason();
  if (reason) {
    say(`Cannot connect: ${reason}`);
    return;
  }
  try {
    await link.connect(Number($('speed').value));
    say(`Connected at ${link.baudRate} baud; mirroring is on`);
    changed({ edited: false });
  } catch (error) {
    say(error.name === 'NotFoundError' ? 'No port chosen' : `Cannot connect: ${error.message}`);
  }
});

$('write').addEventListener('click', async () => {
  const reason = ModuleLink.unavailableReason();
  if (reason || !link.connected) {
    say(reason ? `Cannot write: ${reason}` : 'Connect to the module first');
    return;
  }
  const progress = $('progress');
  progress.hidden = false;
  progress.value = 0;
  say('Writing the start screen to the module…');
  const result = await link.store(editor.storePlan(), (sent, total) => {
    progress.value = sent / total;
  });
  progress.hidden = true;
  if (result.ok) {
    say('Start screen stored: the module shows it at every power-on');
  } else {
    link.mirroring = false;
    say(`Write failed after ${result.sent} of ${result.total} bytes (${result.reason}): ` +
      'the module does not hold the start screen; mirroring is off until you connect again');
  }
});

document.addEventListener('dragover', (event) => event.preventDefault());
document.addEventListener('drop', async (event) => {
  event.preventDefault();
  const file = event.dataTransfer.files[0];
  if (!file) return;
  fileHandle = null;
  await openFileObject(file);
});

function restore() {
  const shared = new URLSearchParams(location.hash.slice(1)).get('kss');
  const kept = shared || localStorage.getItem(STORAGE_KEY);
  if (!kept) return '';
  const bytes = fromBase64Url(kept);
  if (!bytes) return 'The screen in the link is damaged; a new screen is shown instead';
  const message = editor.open(bytes);
  return message || (shared ? 'Screen from the link' : 'Screen restored from the last visit');
}

const restored = restore();
// The restored screen is where the history starts.
editor.forgetHistory();
draw();
editor.takeChange();
if (!('serial' in navigator)) $('connect').title = ModuleLink.unavailableReason();
say(restored || 'Ready');
canvas.focus();
