// Reads reply texts (one per line, hex of their UTF-8 bytes) from the file named by the
// first argument, evaluates each as the page does, and prints the value of its field `v`
// as hex of UTF-8, one per line.
'use strict';
const fs = require('fs');
const lines = fs.readFileSync(process.argv[2], 'utf8').split('\n').filter((l) => l.length > 0);
for (const line of lines) {
  const rtnMsg = Buffer.from(line, 'hex').toString('utf8');
  let out;
  try {
    const reply = eval('(' + rtnMsg + ')');
    out = Buffer.from(String(reply.v), 'utf8').toString('hex');
  } catch (e) {
    out = 'error';
  }
  process.stdout.write(out + '\n');
}
