// Writes a copy of a players table (dBASE III) whose first two players have surnames that
// are markup and PGN quoting: "<img src=x onerror=alert(1)>" and 'O"Brien\'. The SURNAME
// column is widened to hold them; every other byte of every record stays.
// Usage: node hostile_tables.mjs SOURCE.trn TARGET.trn
import fs from 'node:fs';

const HOSTILE_SURNAMES = ['<img src=x onerror=alert(1)>', 'O"Brien\\'];
const WIDTH = 40;

const [source, target] = process.argv.slice(2);
const table = fs.readFileSync(source);
const headerLength = table.readUInt16LE(8);
const recordLength = table.readUInt16LE(10);
const count = table.readUInt32LE(4);
// The SURNAME column: its descriptor and its place in a record (after the deletion mark).
let at = 1;
let descriptor = -1;
for (let d = 32; table[d] !== 0x0D; d += 32) {
  if (table.toString('latin1', d, d + 11).replace(/\0.*$/s, '') === 'SURNAME') {
    descriptor = d;
    break;
  }
  at += table[d + 16];
}
if (descriptor < 0) throw new Error(`${source} has no SURNAME column`);
const oldWidth = table[descriptor + 16];
const header = Buffer.from(table.subarray(0, headerLength));
header.writeUInt16LE(recordLength + WIDTH - oldWidth, 10);
header[descriptor + 16] = WIDTH;
const records = [];
let changed = 0;
for (let r = 0; r < count; ++r) {
  const record = table.subarray(headerLength + r * recordLength, headerLength + (r + 1) * recordLength);
  let surname = Buffer.concat([record.subarray(at, at + oldWidth), Buffer.alloc(WIDTH - oldWidth, ' ')]);
  if (record[0] !== 0x2A && changed < HOSTILE_SURNAMES.length) {
    surname = Buffer.alloc(WIDTH, ' ');
    surname.write(HOSTILE_SURNAMES[changed++], 'latin1');
  }
  records.push(record.subarray(0, at), surname, record.subarray(at + oldWidth));
}
fs.writeFileSync(target, Buffer.concat([header, ...records, Buffer.from([0x1A])]));
