// The generator of the ActionScript library against small tables: what it
// makes of a sound one, and that an unsound one stops it (exit status 2, a
// message naming the fault) before any file is written.
//   node as3/tests/generator.test.js
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawnSync } = require('child_process');

const generator = path.join(__dirname, '..', 'generate.js');
const { loadTable, render } = require(generator);
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'as3-generate-'));
process.on('exit', () => fs.rmSync(scratch, { recursive: true, force: true }));

// A small sound table: two extensions, a code set each, typed event fields, a list of records.
function table() {
  return {
    extensions: [
      {
        name: 'Alpha', id: 'com.airrtc.Alpha',
        functions: [
          { name: 'open', group: 'devices', summary: 'Opens a source.', answers: 'true when opened; false when the SDK throws.',
            events: '"opened" follows; "video" once frames come.', notes: '',
            args: [{ name: 'kind', type: 'int', codes: 'AlphaKind', doc: 'the source to open' },
                   { name: 'label', type: 'String', doc: 'a label' }],
            result: { type: 'Boolean', nullable: false } },
          { name: 'listSources', group: 'devices', summary: 'The sources.', answers: 'the list; null when none.', events: '', notes: '',
            args: [{ name: 'width', type: 'int', doc: 'thumbnail width' }],
            result: { type: 'String', nullable: true } },
        ],
        events: [
          { code: 'opened', level: 'complete | error', meaning: 'the outcome of open', fields: [] },
          { code: 'video', level: 'user||width||on||kind||note', meaning: 'a frame',
            fields: [{ name: 'userId', type: 'String' }, { name: 'width', type: 'int' }, { name: 'on', type: 'Boolean' },
                     { name: 'kind', type: 'AlphaKind' }, { name: 'note', type: 'String' }] },
          { code: 'gone', level: 'user', meaning: 'a user left', fields: [{ name: 'userId', type: 'String' }] },
        ],
        codes: [{ set: 'AlphaKind', name: 'CAMERA', value: 1, meaning: 'a camera' },
                { set: 'AlphaKind', name: 'SCREEN', value: 2, meaning: 'a screen' }],
        lists: [{ function: 'listSources', helper: 'sources', separator: '||', itemClass: 'AlphaSource',
                  fields: [{ name: 'id', type: 'int' }, { name: 'kind', type: 'AlphaKind' }, { name: 'name', type: 'String' }],
                  fieldSeparator: '|-|', meaning: 'a source' }],
      },
      {
        name: 'Beta', id: 'com.airrtc.Beta',
        functions: [{ name: 'names', group: 'devices', summary: 'Names.', answers: 'the names', events: '', notes: '',
                      args: [], result: { type: 'String', nullable: false } }],
        events: [{ code: 'video', level: 'user||size', meaning: 'a frame',
                   fields: [{ name: 'userId', type: 'String' }, { name: 'size', type: 'Number' }] }],
        codes: [{ set: 'BetaMode', name: 'FAST', value: 0, meaning: 'fast' }],
        lists: [{ function: 'names', helper: 'nameList', separator: '||', itemClass: '', fields: [], fieldSeparator: '', meaning: 'a name' }],
      },
    ],
  };
}

// Runs the generator on a table with --check (which writes nothing); its status and what it printed.
function generate(doc, ...flags) {
  const file = path.join(scratch, `table-${Math.random().toString(36).slice(2)}.json`);
  fs.writeFileSync(file, JSON.stringify(doc));
  const run = spawnSync(process.execPath, [generator, '--check', ...flags, file], { encoding: 'utf8' });
  return { status: run.status, output: run.stdout + run.stderr };
}

function refused(change, message, ...flags) {
  const doc = table();
  change(doc.extensions[0], doc.extensions[1], doc);
  const run = generate(doc, ...flags);
  assert.strictEqual(run.status, 2, `exit status 2 expected: ${run.output}`);
  assert.match(run.output, message);
}

function files() {
  const file = path.join(scratch, 'sound.json');
  fs.writeFileSync(file, JSON.stringify(table()));
  return render(loadTable(file), 'sound.json');
}

test('a sound table makes one class per extension, event class, code set and item class', () => {
  assert.deepStrictEqual(Object.keys(files()).sort(),
                         ['Alpha.as', 'AlphaEvent.as', 'AlphaKind.as', 'AlphaSource.as', 'Beta.as', 'BetaEvent.as', 'BetaMode.as']);
  // The sound table passes the checks of the command line too (it differs from the committed sources: status 1).
  assert.strictEqual(generate(table(), '--require-docs').status, 1);
});

test('event getters convert each type and answer a neutral value for an event without the field', () => {
  const event = files()['AlphaEvent.as'];
  // "gone" has the user id last: there it takes the rest of the level.
  assert.match(event, /public function get userId\(\):String \{\n      switch \(type\) \{\n        case VIDEO:\n          return part\(0, false\);\n        case GONE:\n          return part\(0, true\);\n      \}\n      return "";/);
  assert.match(event, /public function get width\(\):int \{[^}]*return int\(part\(1, false\)\);\n      \}\n      return 0;/);
  assert.match(event, /public function get on\(\):Boolean \{[^}]*return part\(2, false\) == "1";\n      \}\n      return false;/);
  assert.match(event, /public function get kind\(\):int \{[^}]*return int\(part\(3, false\)\);/);
  assert.match(event, /@see AlphaKind\n     \*\/\n    public function get kind/);
  // The last text field takes the rest of the level.
  assert.match(event, /public function get note\(\):String \{[^}]*return part\(4, true\);/);
  assert.match(files()['BetaEvent.as'], /public function get size\(\):Number \{[^}]*return Number\(part\(1, false\)\);\n      \}\n      return 0;/);
  // level, fields and succeeded stay as they were.
  assert.match(event, /public function get fields\(\):Array \{\n      return _level == null \? \[\] : _level.split\("\|\|"\);/);
  assert.match(event, /public function get succeeded\(\):Boolean \{\n      return _level == "complete";/);
});

test('a code set is a class of int constants with their meaning, and names a value', () => {
  const kind = files()['AlphaKind.as'];
  assert.match(kind, /\/\*\*\n     \* 1: a camera\n     \*\/\n    public static const CAMERA:int = 1;/);
  assert.match(kind, /case 2: return "SCREEN";/);
});

test('methods document every argument, answer, code set and quoted event, and refuse a disposed context', () => {
  const alpha = files()['Alpha.as'];
  assert.match(alpha, /@param kind the source to open \(AlphaKind\)\n     \* @param label a label\n/);
  assert.match(alpha, /@return true when opened; false when the SDK throws\.\n     \* @see AlphaKind\n     \* @see AlphaEvent#OPENED\n     \* @see AlphaEvent#VIDEO\n/);
  assert.match(alpha, /public function open\(kind:int, label:String\):Boolean \{\n      return Boolean\(live\(\)\.call\("open", kind, label\)\);/);
  assert.match(alpha, /\/\*\*\n   \* The outcome of open\.\n   \*\n   \* Level: complete \| error\n   \*\n   \* @eventType com\.airrtc\.AlphaEvent\.OPENED\n   \*\/\n  \[Event\(name="opened", type="com\.airrtc\.AlphaEvent"\)\]\n/);
  assert.match(alpha, /\[Event\(name="video", type="com\.airrtc\.AlphaEvent"\)\]\n[^]*\[Event\(name="gone", type="com\.airrtc\.AlphaEvent"\)\]\n  \/\*\*\n   \* The Alpha native extension/);
  assert.match(alpha, /if \(_context == null\) throw new Error\(DISPOSED\);/);
  assert.match(alpha, /DISPOSED:String = "Alpha: the extension context was disposed; create a new Alpha";/);
});

test('a list helper takes the function\'s arguments and gives a Vector, empty for null or ""', () => {
  const alpha = files()['Alpha.as'];
  assert.match(alpha, /public function sources\(width:int\):Vector\.<AlphaSource> \{\n      var items:Vector\.<AlphaSource> = new Vector\.<AlphaSource>\(\);\n      var answer:String = listSources\(width\);\n      if \(answer == null \|\| answer == ""\) return items;\n      for each \(var part:String in answer\.split\("\|\|"\)\) items\.push\(new AlphaSource\(part\)\);/);
  assert.match(files()['Beta.as'], /public function nameList\(\):Vector\.<String> \{[^]*items\.push\(part\);/);
  const item = files()['AlphaSource.as'];
  assert.match(item, /var itemParts:Array = itemText\.split\("\|-\|"\);\n      if \(itemParts\.length > 0\) this\.id = int\(itemParts\[0\]\);\n      if \(itemParts\.length > 1\) this\.kind = int\(itemParts\[1\]\);\n      if \(itemParts\.length > 2\) this\.name = itemParts\.slice\(2\)\.join\("\|-\|"\);/);
});

test('unknown code sets and types are refused', () => {
  refused(a => { a.functions[0].args[0].codes = 'NoSuchSet'; }, /open\(kind\): unknown code set "NoSuchSet"/);
  refused(a => { a.events[1].fields[3].type = 'NoSuchSet'; }, /event video: field kind: unknown type or code set "NoSuchSet"/);
  refused(a => { a.lists[0].fields[1].type = 'uint'; }, /list of listSources: field kind: unknown type or code set "uint"/);
  // A code set belongs to its extension: Beta cannot name Alpha's.
  refused((a, b) => { b.events[0].fields[1].type = 'AlphaKind'; }, /"Beta": event video: field size: unknown type or code set "AlphaKind"/);
});

test('fields of one name take one type within an extension, and none takes a name the event class has', () => {
  refused(a => { a.events[2].fields[0].type = 'int'; }, /field userId is String in "video" but int in "gone"/);
  refused(a => { a.events[2].fields.push({ name: 'level', type: 'int' }); }, /event gone: field level: the name is taken by the event class/);
  refused(a => { a.events[2].fields.push({ name: 'userId', type: 'String' }); }, /event gone: field userId twice/);
  // Another extension may give the name another type.
  const doc = table();
  doc.extensions[1].events[0].fields[1] = { name: 'width', type: 'Number' };
  assert.strictEqual(generate(doc).status, 1);
});

test('a list of a function that does not exist or does not answer text is refused', () => {
  refused(a => { a.lists[0].function = 'noSuchFunction'; }, /list of "noSuchFunction": no such function/);
  refused(a => { a.lists[0].function = 'open'; }, /list of open: the function answers Boolean, not a text/);
  refused(a => { a.lists[0].helper = 'open'; }, /the helper name open is taken/);
  refused(a => { a.lists[0].fieldSeparator = ''; }, /items with fields need a field separator/);
});

test('names used twice are refused', () => {
  refused(a => { a.functions.push(JSON.parse(JSON.stringify(a.functions[0]))); }, /open twice/);
  refused(a => { a.events.push({ code: 'opened', level: '', meaning: '', fields: [] }); }, /event code opened twice/);
  refused(a => { a.codes.push({ set: 'AlphaKind', name: 'CAMERA', value: 3, meaning: '' }); }, /code AlphaKind\.CAMERA twice/);
  refused(a => { a.functions[0].args.push({ name: 'kind', type: 'int', doc: 'again' }); }, /open: argument kind twice/);
  // Names the generated code itself takes.
  refused(a => { a.functions[1].args[0].name = 'items'; }, /listSources: the argument name items is taken by the generated code/);
  refused(a => { a.functions.push({ name: 'DISPOSED', args: [], result: { type: 'void' } }); }, /DISPOSED: the name is taken by the library class/);
  refused(a => { a.events[0].code = 'codes'; }, /event code codes: its constant would be the CODES list/);
  // Class names are unique across both extensions.
  refused((a, b) => { b.codes[0].set = 'AlphaKind'; }, /the class name AlphaKind of the code set AlphaKind of Beta is taken by the code set AlphaKind of Alpha/);
  refused((a, b) => { b.codes[0].set = 'AlphaEvent'; }, /the class name AlphaEvent .* is taken by the events of Alpha/);
  refused(a => { a.lists[0].itemClass = 'AlphaKind'; }, /the class name AlphaKind of the items of Alpha\.listSources is taken/);
  refused(a => { a.codes[0].set = 'QualityReport'; a.functions[0].args[0].codes = 'QualityReport'; a.events[1].fields[3].type = 'QualityReport'; a.lists[0].fields[1].type = 'QualityReport'; a.codes[1].set = 'QualityReport'; },
          /the class name QualityReport .* is taken by a hand-written class/);
});

test('malformed codes are refused', () => {
  refused(a => { a.codes[0].value = 1.5; }, /AlphaKind\.CAMERA: the value 1\.5 is not a 32-bit integer/);
  refused(a => { a.codes[0].name = 'camera'; }, /the name must be an upper-case constant name/);
  refused(a => { a.codes[0].set = 'alphaKind'; }, /code set name "alphaKind" is not an ActionScript class name/);
});

test('--require-docs refuses an argument without a doc; without it the table passes', () => {
  const change = a => { delete a.functions[0].args[1].doc; };
  refused(change, /1 argument\(s\) without a "doc": Alpha\.open\(label\)/, '--require-docs');
  const doc = table();
  change(doc.extensions[0]);
  assert.strictEqual(generate(doc).status, 1);
});

test('a refused table writes nothing', () => {
  const doc = table();
  doc.extensions[0].lists[0].function = 'noSuchFunction';
  const file = path.join(scratch, 'bad.json');
  fs.writeFileSync(file, JSON.stringify(doc));
  const out = path.join(__dirname, '..', 'src', 'com', 'airrtc');
  const before = fs.readdirSync(out).map(n => [n, fs.statSync(path.join(out, n)).mtimeMs]);
  const run = spawnSync(process.execPath, [generator, file], { encoding: 'utf8' });
  assert.strictEqual(run.status, 2);
  assert.deepStrictEqual(fs.readdirSync(out).map(n => [n, fs.statSync(path.join(out, n)).mtimeMs]), before);
});
