// Installed before the page loads: a Web Serial port whose wire is modelled. Writes are taken
// into a 255-byte buffer; bytes leave at the port's speed, 10 bits a byte; closing the writer
// resolves once the buffer is empty. window.__wire records every write call and the time each
// byte left; window.__wire.goAwayAfter makes the port vanish after that many bytes were taken;
// a function window.__bridge, when a test provides one, receives the bytes as they leave.
(() => {
  const wire = { writes: [], departures: [], opens: [], closes: 0 };
  window.__wire = wire;
  let goAwayAfter = Infinity;
  // Counted from the moment it is set.
  Object.defineProperty(wire, 'goAwayAfter', {
    get: () => goAwayAfter,
    set: (count) => {
      goAwayAfter = count;
      taken = 0;
    },
  });
  const bufferBytes = 255;
  let byteMs = 10000 / 9600;
  let lastDeparture = 0;
  let taken = 0;
  let gone = false;
  const lost = () => new DOMException('The device has been lost.', 'NetworkError');
  const wait = (ms) => new Promise((resolve) => setTimeout(resolve, Math.max(0, ms)));
  const queued = (now) => wire.departures.filter((d) => d.time > now);

  async function take(byte) {
    for (;;) {
      if (gone) throw lost();
      const waiting = queued(performance.now());
      if (waiting.length < bufferBytes) break;
      await wait(waiting[0].time - performance.now());
    }
    const time = Math.max(performance.now(), lastDeparture) + byteMs;
    lastDeparture = time;
    wire.departures.push({ byte, time });
    // A test may lead the wire on to a real line: each byte goes when it leaves.
    if (window.__bridge) setTimeout(() => window.__bridge([byte]), time - performance.now());
    if (++taken >= goAwayAfter) {
      gone = true;
      goAwayAfter = Infinity;
    }
  }

  function writableStream(port) {
    return new WritableStream({
      async write(chunk) {
        const bytes = Array.from(new Uint8Array(chunk));
        wire.writes.push(bytes);
        for (const byte of bytes) await take(byte);
      },
      async close() {
        await wait(lastDeparture - performance.now());
        port.stream = null;
        if (gone) throw lost();
      },
      abort() {
        port.stream = null;
      },
    });
  }

  const port = {
    state: 'closed',
    stream: null,
    async open({ baudRate }) {
      if (this.state === 'open') throw new DOMException('The port is already open.', 'InvalidStateError');
      this.state = 'open';
      byteMs = 10000 / baudRate;
      gone = false;
      taken = 0;
      wire.opens.push(baudRate);
    },
    get writable() {
      if (this.state !== 'open') return null;
      if (!this.stream) this.stream = writableStream(this);
      return this.stream;
    },
    get readable() {
      return null;
    },
    async close() {
      this.state = 'closed';
      this.stream = null;
      wire.closes += 1;
    },
    getInfo() {
      return {};
    },
  };
  Object.defineProperty(Navigator.prototype, 'serial', {
    configurable: true,
    get() {
      return { requestPort: async () => port, getPorts: async () => [port] };
    },
  });
})();
