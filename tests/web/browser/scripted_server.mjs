// A stand-in server that answers the page as the protocol document says, for
// what the real server does only after long games or long waits: a finished
// table's rematch, the move clock of a turn-based table, the answers of
// `mine`. Each connection gets its answers from `answer(message, send)`.
import { createHash } from 'node:crypto';
import { createServer } from 'node:http';

const guid = '258EAFA5-E914-47DA-95CA-C5AB0DC85B11';

function frame(text) {
  const body = Buffer.from(text, 'utf8');
  const n = body.length;
  const head = n < 126 ? Buffer.from([0x81, n]) : n < 65536 ? Buffer.from([0x81, 126, n >> 8, n & 255]) : null;
  if (head) return Buffer.concat([head, body]);
  const big = Buffer.alloc(10);
  big[0] = 0x81;
  big[1] = 127;
  big.writeBigUInt64BE(BigInt(n), 2);
  return Buffer.concat([big, body]);
}

// The client's frames, unmasked; only whole text frames are expected.
function* frames(buffer) {
  let at = 0;
  while (buffer.length - at >= 2) {
    const opcode = buffer[at] & 15;
    let len = buffer[at + 1] & 127;
    let p = at + 2;
    if (len === 126) {
      if (buffer.length < p + 2) break;
      len = buffer.readUInt16BE(p);
      p += 2;
    } else if (len === 127) {
      if (buffer.length < p + 8) break;
      len = Number(buffer.readBigUInt64BE(p));
      p += 8;
    }
    if (buffer.length < p + 4 + len) break;
    const mask = buffer.subarray(p, p + 4);
    const data = Buffer.from(buffer.subarray(p + 4, p + 4 + len));
    for (let i = 0; i < len; i++) data[i] ^= mask[i % 4];
    at = p + 4 + len;
    yield { opcode, text: data.toString('utf8'), used: at };
  }
}

export async function scriptedServer(answer) {
  const seen = [];
  const server = createServer((req, res) => res.writeHead(404).end());
  server.on('upgrade', (req, socket) => {
    const accept = createHash('sha1').update(`${req.headers['sec-websocket-key']}${guid}`).digest('base64');
    socket.write(`HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Accept: ${accept}\r\n\r\n`);
    const send = (m) => socket.write(frame(JSON.stringify(m)));
    let pending = Buffer.alloc(0);
    socket.on('data', (d) => {
      pending = Buffer.concat([pending, d]);
      let used = 0;
      for (const f of frames(pending)) {
        used = f.used;
        if (f.opcode === 8) {
          socket.end();
          return;
        }
        if (f.opcode !== 1) continue;
        const m = JSON.parse(f.text);
        seen.push(m);
        answer(m, send);
      }
      pending = pending.subarray(used);
    });
    socket.on('error', () => {});
  });
  await new Promise((r) => server.listen(0, '127.0.0.1', r));
  return {
    port: server.address().port,
    seen,
    close: () => new Promise((r) => {
      server.closeAllConnections?.();
      server.close(r);
    }),
  };
}

// A table message as the server sends it, seven human seats.
export function tableMessage(code, over = {}) {
  const seats = [1, 2, 3, 4, 5, 6, 7].map((seat) => ({
    seat,
    kind: 'human',
    level: 3,
    name: `p${seat}`,
    open: false,
    connected: true,
    playedBy: 'player',
  }));
  return {
    type: 'table',
    code,
    status: 'playing',
    you: 2,
    level: 3,
    grace: 0,
    pace: 'turn',
    moveSeconds: 86400,
    hints: false,
    rematch: '',
    seats,
    turn: 1,
    moveNumber: 0,
    board: [],
    captured: [0, 0, 0, 0, 0, 0, 0],
    kingsCaptured: [0, 0, 0, 0, 0, 0, 0],
    record: [],
    result: '',
    ...over,
  };
}
