// The module's serial line over Web Serial. It runs the core's transfer plans: each write one
// call, and each pause begun only once the bytes before it have left the port. A write resolves
// when its bytes are queued, not sent, so the writer is closed (which drains) before a pause.

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

export class ModuleLink {
  constructor() {
    this.port = null;
    this.baudRate = 19200;
    this.mirroring = false;
    this.queue = Promise.resolve();
    this.pendingMirror = null;
  }

  static unavailableReason() {
    if ('serial' in navigator) return '';
    if (!window.isSecureContext) return 'Connect needs a secure page (https or localhost)';
    return 'this browser has no Web Serial: use Chrome, Edge or Opera on a desktop';
  }

  get connected() {
    return this.port !== null;
  }

  async connect(baudRate) {
    const port = await navigator.serial.requestPort();
    if (this.port) await this.disconnect();
    await port.open({ baudRate });
    this.port = port;
    this.baudRate = baudRate;
    this.mirroring = true;
  }

  async disconnect() {
    const port = this.port;
    this.port = null;
    this.mirroring = false;
    if (port) await port.close().catch(() => {});
  }

  // The latest screen only: a mirror asked for while another runs replaces any still waiting.
  mirror(steps) {
    if (!this.port || !this.mirroring) return Promise.resolve(null);
    const waiting = this.pendingMirror !== null;
    this.pendingMirror = steps;
    if (waiting) return this.queue;
    this.queue = this.queue.then(async () => {
      const latest = this.pendingMirror;
      this.pendingMirror = null;
      const result = await this.run(latest);
      if (!result.ok) this.mirroring = false;
      return result;
    });
    return this.queue;
  }

  store(steps, onProgress) {
    this.queue = this.queue.then(() => this.run(steps, onProgress));
    return this.queue;
  }

  // {ok, sent, total, reason}: stops at the first write that fails.
  async run(steps, onProgress = () => {}) {
    const total = steps.reduce((sum, step) => sum + (step.bytes ? step.bytes.length : 0), 0);
    let sent = 0;
    let writer = null;
    try {
      if (!this.port || !this.port.writable) throw new Error('the port is not open');
      writer = this.port.writable.getWriter();
      for (const step of steps) {
        if (step.bytes) {
          await writer.write(step.bytes);
          sent += step.bytes.length;
          onProgress(sent, total);
        } else {
          await writer.close();
          writer = null;
          await sleep(step.pauseMs);
          writer = this.port.writable.getWriter();
        }
      }
      await writer.close();
      writer = null;
      return { ok: true, sent, total, reason: '' };
    } catch (error) {
      if (writer) {
        await writer.abort().catch(() => {});
      }
      return { ok: false, sent, total, reason: error && error.message ? error.message : String(error) };
    }
  }
}
