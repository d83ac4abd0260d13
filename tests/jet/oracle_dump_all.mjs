#!/usr/bin/env node
// Dumps every table of one Access file with the independent reader mdb-reader,
// in one process, using the value forms of ../shared/tools/oracle-dump.mjs
// (--array, --bin hex). Complex (attachment) columns are left out.
//   node oracle_dump_all.mjs FILE [PASSWORD]
// Output per table: "#TABLE <name as JSON>", "#COLUMNS <names as JSON>", then
// one JSON array per row; or "#ERROR <message>" when the reader fails on it.
import fs from "node:fs";
import { createRequire } from "node:module";
const MDBReader = createRequire(import.meta.url)("mdb-reader").default;

const [file, password] = process.argv.slice(2);
const reader = new MDBReader(fs.readFileSync(file), password ? { password } : undefined);

function pad(n, w) { return String(n).padStart(w, "0"); }
function dateStr(d) {
  if (!(d instanceof Date) || isNaN(d.getTime())) return "Invalid";
  const y = d.getUTCFullYear();
  const ys = y < 0 ? "-" + pad(-y, 4) : pad(y, 4);
  return `${ys}-${pad(d.getUTCMonth() + 1, 2)}-${pad(d.getUTCDate(), 2)}T${pad(d.getUTCHours(), 2)}:` +
    `${pad(d.getUTCMinutes(), 2)}:${pad(d.getUTCSeconds(), 2)}.${pad(d.getUTCMilliseconds(), 3)}`;
}
function encoder(type) {
  switch (type) {
    case "double": case "float": return (v) => (Number.isFinite(v) ? v : String(v));
    case "bigint": return (v) => v.toString();
    case "datetime": return dateStr;
    case "binary": case "ole": return (v) => v.toString("hex");
    default: return (v) => v;
  }
}

const out = [];
for (const name of reader.getTableNames({ normalTables: true, systemTables: true, linkedTables: false })) {
  out.push("#TABLE " + JSON.stringify(name));
  try {
    const table = reader.getTable(name);
    const cols = table.getColumns().filter((c) => c.type !== "complex");
    const names = cols.map((c) => c.name);
    const enc = cols.map((c) => encoder(c.type));
    out.push("#COLUMNS " + JSON.stringify(names));
    for (const r of table.getData({ columns: names })) {
      out.push(JSON.stringify(names.map((k, i) => (r[k] === null ? null : enc[i](r[k])))));
    }
  } catch (e) {
    out.push("#ERROR " + e.message);
  }
}
const buf = Buffer.from(out.join("\n") + "\n", "utf8");
for (let off = 0; off < buf.length;) {
  try { off += fs.writeSync(1, buf, off); } catch (e) { if (e.code !== "EAGAIN") throw e; }
}
