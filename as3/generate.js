#!/usr/bin/env node
// Writes the typed ActionScript library from the signature table: per
// extension the library class, its event class with a typed getter for every
// event field, one class of named constants per code set, and one record class
// per list whose items have fields.
//
//   node as3/generate.js [--require-docs] [SIGNATURES.json | -]
//                                  write as3/src/com/airrtc/*.as
//   node as3/generate.js --check [--require-docs] [SIGNATURES.json | -]
//                                  exit 1 when the committed sources differ
//   node as3/generate.js --check --anehost PATH
//                                  also compare as3/signatures.json with
//                                  `PATH --signatures-json` when anehost has it
//
// The table comes from a file (default as3/signatures.json) or, with "-", from
// standard input: `anehost --signatures-json | node as3/generate.js -`.
// A table that is not sound (an unknown type or code set, a list of a function
// that does not exist, a name used twice) stops the generator with exit status
// 2 before any file is written; so does an argument without a "doc" when
// --require-docs is given.
'use strict';
const fs = require('fs');
const path = require('path');
const { spawnSync } = require('child_process');

const here = __dirname;
const outDir = path.join(here, 'src', 'com', 'airrtc');
const PACKAGE = 'com.airrtc';
const ARG_TYPES = new Set(['int', 'uint', 'Number', 'String', 'Boolean', 'ByteArray', 'BitmapData', 'Object']);
const RESULT_TYPES = new Set([...ARG_TYPES, 'void']);
const FIELD_TYPES = new Set(['String', 'int', 'Number', 'Boolean']);
// Classes of as3/src/com/airrtc written by hand: the quality report's reader.
const HAND_WRITTEN = new Set(['QualityReport.as', 'QualityRecord.as']);
// Events whose level is a report that a hand-written class reads: code -> getter and class.
const REPORTS = { qualityparam: { getter: 'quality', cls: 'QualityReport' } };
// Names the event class already has (its own getters and Event's): no field may take one.
const EVENT_MEMBERS = new Set(['code', 'level', 'fields', 'succeeded', 'type', 'target', 'currentTarget', 'bubbles',
                               'cancelable', 'eventPhase', 'clone', 'toString', 'part',
                               ...Object.values(REPORTS).map(r => r.getter)]);
// Names the library class already has beside the functions.
const LIBRARY_MEMBERS = new Set(['context', 'disposeContext', 'live', 'onStatus', 'addEventListener', 'removeEventListener',
                                 'dispatchEvent', 'hasEventListener', 'willTrigger', 'toString', 'EXTENSION_ID',
                                 'FUNCTION_COUNT', 'DISPOSED']);
// The local variables of the generated methods and list helpers: no argument may take one.
const METHOD_LOCALS = new Set(['r', 'items', 'answer', 'part']);
const AS3_WORDS = new Set(['break', 'case', 'catch', 'class', 'const', 'continue', 'default', 'delete', 'do', 'else',
                           'extends', 'false', 'finally', 'for', 'function', 'if', 'implements', 'import', 'in',
                           'instanceof', 'interface', 'internal', 'is', 'new', 'null', 'package', 'private',
                           'protected', 'public', 'return', 'super', 'switch', 'this', 'throw', 'true', 'try',
                           'typeof', 'use', 'var', 'void', 'while', 'with', 'each', 'get', 'set', 'namespace',
                           'include', 'dynamic', 'final', 'native', 'override', 'static']);

function fail(message) {
  process.stderr.write(`generate: ${message}\n`);
  process.exit(2);
}

const isMember = name => /^[A-Za-z_]\w*$/.test(name || '') && !AS3_WORDS.has(name);
const isClass = name => /^[A-Z]\w*$/.test(name || '');

// Reads and checks the table; a malformed table stops here, before any file is written.
function loadTable(source, options = {}) {
  let text;
  try {
    text = source === '-' ? fs.readFileSync(0, 'utf8') : fs.readFileSync(source, 'utf8');
  } catch (e) {
    fail(`${source}: ${e.message}`);
  }
  let doc;
  try {
    doc = JSON.parse(text);
  } catch (e) {
    fail(`${source}: ${e.message}`);
  }
  if (!doc || !Array.isArray(doc.extensions) || doc.extensions.length === 0) fail(`${source}: no "extensions" list`);
  // Every class the library is made of, over both extensions: name -> what makes it.
  const classes = new Map([...HAND_WRITTEN].map(f => [f.replace(/\.as$/, ''), 'a hand-written class']));
  const claim = (name, what, where) => {
    if (classes.has(name)) fail(`${where}: the class name ${name} of ${what} is taken by ${classes.get(name)}`);
    classes.set(name, what);
  };
  const missingDocs = [];
  for (const ext of doc.extensions) {
    const where = `${source}: extension ${JSON.stringify(ext && ext.name)}`;
    if (!ext || !isClass(ext.name)) fail(`${where}: the name must be an ActionScript class name`);
    if (typeof ext.id !== 'string' || !ext.id.startsWith(PACKAGE + '.')) fail(`${where}: the id must start with ${PACKAGE}.`);
    if (!Array.isArray(ext.functions) || !Array.isArray(ext.events)) fail(`${where}: "functions" and "events" are lists`);
    for (const key of ['codes', 'lists'])
      if (ext[key] === undefined) ext[key] = [];
      else if (!Array.isArray(ext[key])) fail(`${where}: "${key}" is a list`);
    claim(ext.name, `the extension ${ext.name}`, where);
    claim(`${ext.name}Event`, `the events of ${ext.name}`, where);

    // Code sets: one class each, its constants unique within it.
    const sets = new Map();
    for (const c of ext.codes) {
      if (!c || !isClass(c.set)) fail(`${where}: code set name ${JSON.stringify(c && c.set)} is not an ActionScript class name`);
      if (!/^[A-Z_][A-Z0-9_]*$/.test(c.name || '')) fail(`${where}: code ${c.set}.${c.name}: the name must be an upper-case constant name`);
      if (!Number.isInteger(c.value) || c.value < -2147483648 || c.value > 2147483647)
        fail(`${where}: code ${c.set}.${c.name}: the value ${JSON.stringify(c.value)} is not a 32-bit integer`);
      if (!sets.has(c.set)) {
        claim(c.set, `the code set ${c.set} of ${ext.name}`, where);
        sets.set(c.set, []);
      }
      if (sets.get(c.set).some(o => o.name === c.name)) fail(`${where}: code ${c.set}.${c.name} twice`);
      if (c.name === 'nameOf') fail(`${where}: code ${c.set}.${c.name}: the name is taken`);
      sets.get(c.set).push(c);
    }
    const fieldType = (f, what) => {
      if (!f || !isMember(f.name) || !/^[a-z]/.test(f.name)) fail(`${where}: ${what}: bad field name ${JSON.stringify(f && f.name)}`);
      if (!FIELD_TYPES.has(f.type) && !sets.has(f.type))
        fail(`${where}: ${what}: field ${f.name}: unknown type or code set ${JSON.stringify(f.type)}`);
    };

    const functions = new Map();
    for (const f of ext.functions) {
      if (!f || !isMember(f.name)) fail(`${where}: bad function name ${JSON.stringify(f && f.name)}`);
      if (functions.has(f.name)) fail(`${where}: ${f.name} twice`);
      if (LIBRARY_MEMBERS.has(f.name)) fail(`${where}: ${f.name}: the name is taken by the library class`);
      functions.set(f.name, f);
      if (f.args !== undefined && !Array.isArray(f.args)) fail(`${where}: ${f.name}: "args" is a list`);
      const names = new Set();
      for (const a of f.args || []) {
        if (!a || !isMember(a.name)) fail(`${where}: ${f.name}: bad argument name ${JSON.stringify(a && a.name)}`);
        if (names.has(a.name)) fail(`${where}: ${f.name}: argument ${a.name} twice`);
        if (METHOD_LOCALS.has(a.name)) fail(`${where}: ${f.name}: the argument name ${a.name} is taken by the generated code`);
        names.add(a.name);
        if (!ARG_TYPES.has(a.type)) fail(`${where}: ${f.name}(${a.name}): unknown type ${a.type}`);
        if (a.codes !== undefined && a.codes !== '' && !sets.has(a.codes))
          fail(`${where}: ${f.name}(${a.name}): unknown code set ${JSON.stringify(a.codes)}`);
        if (!a.doc) missingDocs.push(`${ext.name}.${f.name}(${a.name})`);
      }
      if (!f.result || !RESULT_TYPES.has(f.result.type)) fail(`${where}: ${f.name}: unknown result type`);
    }

    // Event fields: one type per name within the extension, for one getter each.
    const codes = new Set();
    const fieldTypes = new Map();
    for (const e of ext.events) {
      if (!e || !/^[a-z_]\w*$/.test(e.code || '')) fail(`${where}: bad event code ${JSON.stringify(e && e.code)}`);
      if (codes.has(e.code)) fail(`${where}: event code ${e.code} twice`);
      if (e.code === 'codes') fail(`${where}: event code codes: its constant would be the CODES list`);
      codes.add(e.code);
      if (e.fields === undefined) e.fields = [];
      if (!Array.isArray(e.fields)) fail(`${where}: event ${e.code}: "fields" is a list`);
      const own = new Set();
      for (const f of e.fields) {
        fieldType(f, `event ${e.code}`);
        if (own.has(f.name)) fail(`${where}: event ${e.code}: field ${f.name} twice`);
        own.add(f.name);
        if (EVENT_MEMBERS.has(f.name)) fail(`${where}: event ${e.code}: field ${f.name}: the name is taken by the event class`);
        const seen = fieldTypes.get(f.name);
        if (seen && seen.type !== f.type)
          fail(`${where}: field ${f.name} is ${seen.type} in "${seen.code}" but ${f.type} in "${e.code}": ` +
               'fields of the same name take the same type');
        if (!seen) fieldTypes.set(f.name, { type: f.type, code: e.code });
      }
    }

    // Lists: of a function of this extension that answers text; a record class per item class.
    const helpers = new Set();
    const itemClasses = new Map();
    for (const l of ext.lists) {
      if (!l || !functions.has(l.function)) fail(`${where}: list of ${JSON.stringify(l && l.function)}: no such function`);
      const f = functions.get(l.function);
      if (f.result.type !== 'String') fail(`${where}: list of ${l.function}: the function answers ${f.result.type}, not a text`);
      if (!isMember(l.helper)) fail(`${where}: list of ${l.function}: bad helper name ${JSON.stringify(l.helper)}`);
      if (helpers.has(l.helper) || functions.has(l.helper) || LIBRARY_MEMBERS.has(l.helper))
        fail(`${where}: list of ${l.function}: the helper name ${l.helper} is taken`);
      helpers.add(l.helper);
      if (typeof l.separator !== 'string' || l.separator === '') fail(`${where}: list of ${l.function}: no separator`);
      if (l.fields === undefined) l.fields = [];
      if (!Array.isArray(l.fields)) fail(`${where}: list of ${l.function}: "fields" is a list`);
      if (l.fields.length === 0) continue;
      if (!isClass(l.itemClass)) fail(`${where}: list of ${l.function}: bad item class ${JSON.stringify(l.itemClass)}`);
      if (typeof l.fieldSeparator !== 'string' || l.fieldSeparator === '')
        fail(`${where}: list of ${l.function}: items with fields need a field separator`);
      const own = new Set();
      for (const x of l.fields) {
        fieldType(x, `list of ${l.function}`);
        if (own.has(x.name)) fail(`${where}: list of ${l.function}: field ${x.name} twice`);
        own.add(x.name);
      }
      // Two lists may share an item class when their items are alike.
      const shape = JSON.stringify([l.fields, l.fieldSeparator]);
      if (itemClasses.has(l.itemClass)) {
        if (itemClasses.get(l.itemClass) !== shape)
          fail(`${where}: item class ${l.itemClass} has other fields in the list of ${l.function}`);
      } else {
        claim(l.itemClass, `the items of ${ext.name}.${l.function}`, where);
        itemClasses.set(l.itemClass, shape);
      }
    }
  }
  if (options.requireDocs && missingDocs.length)
    fail(`${missingDocs.length} argument(s) without a "doc": ${missingDocs.slice(0, 20).join(', ')}` +
         (missingDocs.length > 20 ? ', ...' : ''));
  return doc;
}

// An ASDoc comment: paragraphs wrapped at 100 columns, then the tags, each
// continued under its text.
function asdoc(indent, paragraphs, tags = []) {
  const wrap = (text, first, rest) => {
    const words = String(text).replace(/\*\//g, '* /').split(/\s+/).filter(Boolean);
    const lines = [];
    let line = '';
    for (const w of words) {
      if (line && (line + ' ' + w).length > 96 - indent.length) {
        lines.push(line);
        line = w;
      } else line = line ? line + ' ' + w : w;
    }
    if (line) lines.push(line);
    return lines.map((l, i) => (i === 0 ? first : rest) + l);
  };
  const body = [];
  for (const p of paragraphs.filter(Boolean)) {
    if (body.length) body.push('');
    body.push(...wrap(p, '', ''));
  }
  if (tags.length && body.length) body.push('');
  for (const t of tags) body.push(...wrap(t, '', '  '));
  return [`${indent}/**`, ...body.map(l => (l ? `${indent} * ${l}` : `${indent} *`)), `${indent} */`].join('\n');
}

// The ActionScript result type of a method and the expression that gives it.
function resultOf(result, callExpr) {
  const t = result.type;
  if (t === 'void') return { type: 'void', body: `${callExpr};` };
  const nullable = !!result.nullable;
  if (t === 'Object') return { type: 'Object', body: `return ${callExpr};` };
  if (nullable && (t === 'Boolean' || t === 'int' || t === 'uint' || t === 'Number'))
    // A Boolean or number that may also be null: ActionScript's primitives cannot hold null.
    return { type: 'Object', body: `return ${callExpr};` };
  if (t === 'String') return { type: 'String', body: nullable ? `return ${callExpr} as String;` : `var r:Object = ${callExpr};\n      return r == null ? "" : String(r);` };
  if (t === 'ByteArray' || t === 'BitmapData') return { type: t, body: `return ${callExpr} as ${t};` };
  return { type: t, body: `return ${t}(${callExpr});` };
}

// A text as a sentence: a capital first letter and a full stop.
function sentence(text) {
  const t = String(text).trim();
  return t ? t.charAt(0).toUpperCase() + t.slice(1) + (/[.!?]$/.test(t) ? '' : '.') : '';
}

function constName(code) {
  return code.toUpperCase();
}

// The ActionScript type of a field (a code set's field is an int), its neutral
// value, and the expression that converts the field's text `t`.
function fieldKind(type) {
  switch (type) {
    case 'String': return { as: 'String', neutral: '""', convert: t => t };
    case 'Number': return { as: 'Number', neutral: '0', convert: t => `Number(${t})` };
    case 'Boolean': return { as: 'Boolean', neutral: 'false', convert: t => `${t} == "1"` };
    default: return { as: 'int', neutral: '0', convert: t => `int(${t})` };
  }
}
const isCodeSet = type => !FIELD_TYPES.has(type);
const typeShown = type => (isCodeSet(type) ? `${type}, an int` : type);

// The event codes an "events" text quotes, as constants of the event class.
function quotedEvents(ext, text) {
  const codes = new Set(ext.events.map(e => e.code));
  const out = [];
  for (const m of String(text || '').matchAll(/"([a-z_]\w*)"/g))
    if (codes.has(m[1]) && !out.includes(m[1])) out.push(m[1]);
  return out;
}

function method(ext, f) {
  const args = f.args || [];
  const params = args.map(a => `${a.name}:${a.type}`).join(', ');
  const callArgs = [JSON.stringify(f.name), ...args.map(a => a.name)].join(', ');
  const r = resultOf(f.result, `live().call(${callArgs})`);
  const tags = [];
  for (const a of args)
    tags.push(`@param ${a.name} ${a.doc || a.type}${a.codes ? ` (${a.codes})` : ''}`);
  if (f.answers) tags.push(`@return ${f.answers}`);
  const sees = [];
  for (const a of args) if (a.codes && !sees.includes(a.codes)) sees.push(a.codes);
  for (const code of quotedEvents(ext, f.events)) sees.push(`${ext.name}Event#${constName(code)}`);
  tags.push(...sees.map(s => `@see ${s}`));
  const paragraphs = [`${f.summary || f.name}${f.group ? ` (${f.group})` : ''}`];
  if (f.events) paragraphs.push(`Events: ${f.events}`);
  if (f.notes) paragraphs.push(`Made safe: ${f.notes}`);
  return `${asdoc('    ', paragraphs, tags)}\n    public function ${f.name}(${params}):${r.type} {\n      ${r.body}\n    }`;
}

// The statements that fill `target`'s fields from the array `parts`; the last
// field, when it is a text, takes the rest of the item (separators included).
function fillFields(fields, separator, target, parts, indent) {
  return fields.map((x, i) => {
    const k = fieldKind(x.type);
    const last = i === fields.length - 1 && x.type === 'String';
    const text = last ? `${parts}.slice(${i}).join(${JSON.stringify(separator)})` : `${parts}[${i}]`;
    return `${indent}if (${parts}.length > ${i}) ${target}${x.name} = ${k.convert(text)};`;
  }).join('\n');
}

function listHelper(ext, l) {
  const f = ext.functions.find(x => x.name === l.function);
  const args = f.args || [];
  const params = args.map(a => `${a.name}:${a.type}`).join(', ');
  const item = l.fields.length ? l.itemClass : 'String';
  const tags = args.map(a => `@param ${a.name} ${a.doc || a.type}${a.codes ? ` (${a.codes})` : ''}`);
  tags.push(`@return every item in the order of the answer; an empty Vector when ${l.function} answers null or ""`);
  tags.push(`@see #${l.function}()`);
  if (l.fields.length) tags.push(`@see ${l.itemClass}`);
  const doc = asdoc('    ', [
    `The answer of ${l.function} as a list, cut at "${l.separator}": every item ${l.meaning || 'one entry'}` +
      (l.fields.length ? ` (${l.fields.map(x => `${x.name}:${x.type}`).join(', ')}, cut at "${l.fieldSeparator}").` : '.'),
  ], tags);
  const push = l.fields.length ? `items.push(new ${item}(part));` : 'items.push(part);';
  return `${doc}
    public function ${l.helper}(${params}):Vector.<${item}> {
      var items:Vector.<${item}> = new Vector.<${item}>();
      var answer:String = ${l.function}(${args.map(a => a.name).join(', ')});
      if (answer == null || answer == "") return items;
      for each (var part:String in answer.split(${JSON.stringify(l.separator)})) ${push}
      return items;
    }`;
}

function libraryClass(ext, source) {
  const eventClass = `${ext.name}Event`;
  const methods = ext.functions.map(f => method(ext, f));
  const helpers = ext.lists.map(l => listHelper(ext, l));
  const metadata = ext.events.map(e =>
    `${asdoc('  ', [sentence(e.meaning || e.code), `Level: ${e.level}`], [`@eventType ${PACKAGE}.${eventClass}.${constName(e.code)}`])}\n` +
    `  [Event(name="${e.code}", type="${PACKAGE}.${eventClass}")]`).join('\n');
  return `// GENERATED by as3/generate.js from ${source}: do not edit; change the table and run
// \`node as3/generate.js\`.
package ${PACKAGE} {
  import flash.display.BitmapData;
  import flash.events.EventDispatcher;
  import flash.events.StatusEvent;
  import flash.external.ExtensionContext;
  import flash.utils.ByteArray;

${metadata}
  /**
   * The ${ext.name} native extension (${ext.id}): one typed method per function of the
   * extension, its status events as ${eventClass}s${helpers.length ? ', and typed helpers for the answers that are lists' : ''}.
   *
   * new ${ext.name}() creates the extension context; disposeContext() ends it (the extension's
   * finalizer runs). The methods answer as the extension does: they never throw for a bad value,
   * and what happens later arrives as an event. A method called after disposeContext() throws an
   * Error that says so.
   */
  public class ${ext.name} extends EventDispatcher {
    /** The extension id of the descriptor (extension.xml). */
    public static const EXTENSION_ID:String = ${JSON.stringify(ext.id)};
    /** How many functions the extension has. */
    public static const FUNCTION_COUNT:int = ${ext.functions.length};
    /** The message of the Error a method throws after disposeContext(). */
    public static const DISPOSED:String = ${JSON.stringify(`${ext.name}: the extension context was disposed; create a new ${ext.name}`)};

    private var _context:ExtensionContext;

    /**
     * Creates the extension context. Throws an Error when the extension is not available to the
     * application (not packaged, or its library did not load).
     */
    public function ${ext.name}(contextType:String = "") {
      _context = ExtensionContext.createExtensionContext(EXTENSION_ID, contextType);
      if (_context == null) throw new Error("the extension " + EXTENSION_ID + " is not available");
      _context.addEventListener(StatusEvent.STATUS, onStatus);
    }

    /** The extension context underneath, for calls by name and the raw status events; null once disposed. */
    public function get context():ExtensionContext {
      return _context;
    }

    /** Ends the extension context: its finalizer runs and no event follows. A second call does nothing. */
    public function disposeContext():void {
      if (_context == null) return;
      _context.removeEventListener(StatusEvent.STATUS, onStatus);
      _context.dispose();
      _context = null;
    }

    // The context of a call; after disposeContext() an Error that says why there is none.
    private function live():ExtensionContext {
      if (_context == null) throw new Error(DISPOSED);
      return _context;
    }

    private function onStatus(event:StatusEvent):void {
      dispatchEvent(new ${eventClass}(event.code, event.level));
    }

${[...methods, ...helpers].join('\n\n')}
  }
}
`;
}

function eventClass(ext, source) {
  const name = `${ext.name}Event`;
  const consts = ext.events.map(e =>
    `${asdoc('    ', [`"${e.code}"; level: ${e.level}${e.meaning ? ` (${e.meaning})` : ''}`,
                       e.fields.length ? `Fields: ${e.fields.map(x => x.name).join(', ')}.` : ''])}\n` +
    `    public static const ${constName(e.code)}:String = ${JSON.stringify(e.code)};`);
  // Every field name with the events that carry it and where.
  const fields = new Map();
  for (const e of ext.events)
    e.fields.forEach((x, i) => {
      if (!fields.has(x.name)) fields.set(x.name, { type: x.type, at: [] });
      fields.get(x.name).at.push({ code: e.code, index: i, rest: i === e.fields.length - 1 && x.type === 'String' });
    });
  const getters = [...fields].map(([field, { type, at }]) => {
    const k = fieldKind(type);
    const where = at.map(a => `"${a.code}" (field ${a.index + 1})`).join(', ');
    const tags = isCodeSet(type) ? [`@see ${type}`] : [];
    // One case per position, the codes that share it together.
    const byPosition = new Map();
    for (const a of at) {
      const key = `${a.index}:${a.rest}`;
      if (!byPosition.has(key)) byPosition.set(key, { ...a, codes: [] });
      byPosition.get(key).codes.push(a.code);
    }
    const cases = [...byPosition.values()].map(p =>
      `${p.codes.map(c => `        case ${constName(c)}:`).join('\n')}\n          return ${k.convert(`part(${p.index}, ${p.rest})`)};`);
    return `${asdoc('    ', [`${field} (${typeShown(type)}): the field of ${where}; ${k.neutral} for any other event.`], tags)}
    public function get ${field}():${k.as} {
      switch (type) {
${cases.join('\n')}
      }
      return ${k.neutral};
    }`;
  });
  const reports = ext.events.filter(e => REPORTS[e.code]).map(e => {
    const r = REPORTS[e.code];
    return `${asdoc('    ', [`The "${e.code}" report read into its records and numbers; null for any other event.`], [`@see ${r.cls}`])}
    public function get ${r.getter}():${r.cls} {
      if (type != ${constName(e.code)}) return null;
      if (_report == null) _report = ${r.cls}.parse(_level);
      return _report as ${r.cls};
    }`;
  });
  return `// GENERATED by as3/generate.js from ${source}: do not edit.
package ${PACKAGE} {
  import flash.events.Event;

  /**
   * A status event of ${ext.name}: the type is the event code, level the text the extension
   * sent, fields the level cut at every "||", and a typed getter for every field an event code
   * names (a neutral value, "", 0 or false, for an event without that field).
   */
  public class ${name} extends Event {
${consts.join('\n')}

    /** Every event code of ${ext.name}. */
    public static const CODES:Array = [${ext.events.map(e => constName(e.code)).join(', ')}];

    private var _level:String;
    private var _parts:Array;${ext.events.some(e => REPORTS[e.code]) ? '\n    private var _report:Object;' : ''}

    public function ${name}(code:String, level:String) {
      super(code, false, false);
      _level = level;
    }

    /** The event code (the same as type). */
    public function get code():String {
      return type;
    }

    /** The level text as the extension sent it. */
    public function get level():String {
      return _level;
    }

    /** The level's fields: the text cut at every "||". */
    public function get fields():Array {
      return _level == null ? [] : _level.split("||");
    }

    /** True for the level "complete" (the outcome of a request was a success). */
    public function get succeeded():Boolean {
      return _level == "complete";
    }
${[...getters, ...reports].map(g => '\n' + g).join('\n')}

    // The level's field at index ("" when the level is shorter); with rest, that field and all after it.
    private function part(index:int, rest:Boolean):String {
      if (_parts == null) _parts = fields;
      if (index >= _parts.length) return "";
      return rest ? _parts.slice(index).join("||") : _parts[index];
    }

    override public function clone():Event {
      return new ${name}(type, _level);
    }
  }
}
`;
}

function codeClass(ext, set, codes, source) {
  const consts = codes.map(c =>
    `${asdoc('    ', [`${c.value}: ${c.meaning || c.name}`])}\n    public static const ${c.name}:int = ${c.value};`);
  const names = [];
  for (const c of codes) if (!names.some(n => n.value === c.value)) names.push(c);
  return `// GENERATED by as3/generate.js from ${source}: do not edit.
package ${PACKAGE} {
  /**
   * The named values of ${ext.name}'s ${set} numbers, as arguments take them and events and answers
   * show them.
   */
  public final class ${set} {
${consts.join('\n')}

    /** The name of a value ("${codes[0].name}" for ${codes[0].value}); "" for a number without a name. */
    public static function nameOf(value:int):String {
      switch (value) {
${names.map(c => `        case ${c.value}: return ${JSON.stringify(c.name)};`).join('\n')}
      }
      return "";
    }
  }
}
`;
}

function itemClass(ext, l, source) {
  const vars = l.fields.map(x => {
    const k = fieldKind(x.type);
    return `${asdoc('    ', [`${x.name} (${typeShown(x.type)})`], isCodeSet(x.type) ? [`@see ${x.type}`] : [])}\n` +
      `    public var ${x.name}:${k.as} = ${k.neutral};`;
  });
  return `// GENERATED by as3/generate.js from ${source}: do not edit.
package ${PACKAGE} {
${asdoc('  ', [`One item of ${ext.name}.${l.helper}(): ${l.meaning || 'one entry'}.`,
                `The item's text is cut at "${l.fieldSeparator}" into ${l.fields.map(x => x.name).join(', ')}` +
                `${l.fields[l.fields.length - 1].type === 'String' ? ` (the last takes the rest of the text)` : ''}; ` +
                'a field the text lacks keeps its neutral value ("", 0 or false).'],
          [`@see ${ext.name}#${l.helper}()`])}
  public class ${l.itemClass} {
${vars.join('\n')}

    /** The item read from its text; an empty item without one. */
    public function ${l.itemClass}(itemText:String = null) {
      if (itemText == null) return;
      var itemParts:Array = itemText.split(${JSON.stringify(l.fieldSeparator)});
${fillFields(l.fields, l.fieldSeparator, 'this.', 'itemParts', '      ')}
    }
  }
}
`;
}

function render(doc, source) {
  const files = {};
  for (const ext of doc.extensions) {
    files[`${ext.name}.as`] = libraryClass(ext, source);
    files[`${ext.name}Event.as`] = eventClass(ext, source);
    const sets = new Map();
    for (const c of ext.codes) {
      if (!sets.has(c.set)) sets.set(c.set, []);
      sets.get(c.set).push(c);
    }
    for (const [set, codes] of sets) files[`${set}.as`] = codeClass(ext, set, codes, source);
    for (const l of ext.lists)
      if (l.fields.length && !files[`${l.itemClass}.as`]) files[`${l.itemClass}.as`] = itemClass(ext, l, source);
  }
  return files;
}

// The same text for the same table, whatever the order of keys within an object.
function canonical(value) {
  if (Array.isArray(value)) return `[${value.map(canonical).join(',')}]`;
  if (value && typeof value === 'object')
    return `{${Object.keys(value).sort().map(k => `${JSON.stringify(k)}:${canonical(value[k])}`).join(',')}}`;
  return JSON.stringify(value);
}

// The table anehost prints, or null when this anehost has no --signatures-json.
function anehostTable(anehost) {
  const run = spawnSync(anehost, ['--signatures-json'], { encoding: 'utf8', maxBuffer: 1 << 26 });
  if (run.error || run.status !== 0) return null;
  try {
    return JSON.parse(run.stdout);
  } catch (e) {
    return null;
  }
}

function main(argv) {
  let check = false, anehost = null, source = null, requireDocs = false;
  for (let i = 0; i < argv.length; ++i) {
    if (argv[i] === '--check') check = true;
    else if (argv[i] === '--anehost') anehost = argv[++i];
    else if (argv[i] === '--require-docs') requireDocs = true;
    else if (source === null) source = argv[i];
    else fail(`unexpected argument ${argv[i]}`);
  }
  const defaultSource = path.join(here, 'signatures.json');
  source = source || defaultSource;
  const doc = loadTable(source, { requireDocs });
  const shown = source === '-' ? 'anehost --signatures-json' : path.relative(path.dirname(here), path.resolve(source));
  // The sources name the committed table, whichever copy of it was read.
  const files = render(doc, source === defaultSource ? 'as3/signatures.json' : shown);
  const generated = fs.existsSync(outDir) ? fs.readdirSync(outDir).filter(n => n.endsWith('.as')) : [];
  if (!check) {
    fs.mkdirSync(outDir, { recursive: true });
    for (const [name, text] of Object.entries(files)) fs.writeFileSync(path.join(outDir, name), text);
    // A class the table no longer makes goes with it.
    for (const n of generated)
      if (!(n in files) && !HAND_WRITTEN.has(n) && /^\/\/ GENERATED by as3\/generate\.js/.test(fs.readFileSync(path.join(outDir, n), 'utf8')))
        fs.unlinkSync(path.join(outDir, n));
    const counts = doc.extensions.map(e => `${e.name} ${e.functions.length} methods, ${e.events.length} event codes, ` +
                                           `${new Set(e.codes.map(c => c.set)).size} code sets, ${e.lists.length} lists`);
    console.log(`generate: wrote ${Object.keys(files).length} files to ${path.relative(process.cwd(), outDir) || '.'} (${counts.join('; ')})`);
    return 0;
  }
  let stale = [];
  for (const [name, text] of Object.entries(files)) {
    const file = path.join(outDir, name);
    const committed = fs.existsSync(file) ? fs.readFileSync(file, 'utf8') : null;
    if (committed !== text) stale.push(path.relative(process.cwd(), file));
  }
  for (const n of generated) if (!(n in files) && !HAND_WRITTEN.has(n)) stale.push(`${n} (no longer generated)`);
  if (stale.length) {
    console.log(`generate: stale generated sources: ${stale.join(', ')}; run node as3/generate.js`);
    return 1;
  }
  console.log(`generate: the generated sources match ${shown}`);
  if (anehost) {
    const fromHost = anehostTable(anehost);
    if (!fromHost) {
      console.log(`generate: ${anehost} has no --signatures-json yet; comparison with it skipped`);
    } else if (canonical(fromHost) !== canonical(JSON.parse(fs.readFileSync(defaultSource, 'utf8')))) {
      console.log('generate: as3/signatures.json differs from anehost --signatures-json; ' +
                  `refresh it: ${anehost} --signatures-json > as3/signatures.json && node as3/generate.js`);
      return 1;
    } else {
      console.log('generate: as3/signatures.json matches anehost --signatures-json');
    }
  }
  return 0;
}

if (require.main === module) process.exitCode = main(process.argv.slice(2));
module.exports = { loadTable, render };
