// Writes the publisher's logo, icon group and version block into a copy of
// the program, with the resedit library (pinned in package.json beside this
// file). setup-pack's branding stage runs it and then checks its result on
// its own (kit/branding/branded_copy.cpp), so this script stays a thin
// adapter:
//
//   node write-resources.mjs --modules DIR --in PROGRAM --out COPY
//        [--bitmap ID DIB] [--icon-group ID ICO] [--version A.B.C.D]
//        [--string KEY VALUE]...
//
// DIR is the node_modules folder that holds resedit. --bitmap replaces the
// data of bitmap ID with the file DIB (a bitmap file without its 14-byte
// file header, as resources hold it); --icon-group replaces icon group ID
// and its icons with the images of the icon file ICO; --version sets the
// version block's file and product version, fixed fields and strings alike;
// --string sets a string of the version block, in every language it has.
// Every resource named must already be in the program: this is a copy of
// our own program, not any program. Exit status 0 when COPY is written, 1
// with the reason on standard error otherwise.
import fs from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const RT_BITMAP = 2;
const RT_GROUP_ICON = 14;
const RT_VERSION = 16;
const SCN_INITIALIZED_DATA = 0x40;
const RESOURCE_DIRECTORY = 2;

class Refusal extends Error {}

function parseArguments(argv) {
  const args = { strings: [] };
  const takes = { '--modules': 1, '--in': 1, '--out': 1, '--bitmap': 2, '--icon-group': 2, '--version': 1, '--string': 2 };
  for (let i = 0; i < argv.length; ) {
    const option = argv[i];
    const count = takes[option];
    if (count === undefined) throw new Refusal(`unknown option ${option}`);
    const values = argv.slice(i + 1, i + 1 + count);
    if (values.length !== count) throw new Refusal(`the option ${option} needs ${count} value(s)`);
    if (option === '--string') args.strings.push(values);
    else args[option.slice(2)] = count === 1 ? values[0] : values;
    i += 1 + count;
  }
  for (const needed of ['modules', 'in', 'out']) {
    if (!args[needed]) throw new Refusal(`--${needed} is needed`);
  }
  return args;
}

async function loadLibraries(modulesDir) {
  const require = createRequire(path.join(path.resolve(modulesDir), 'index.js'));
  const load = async (name) => import(pathToFileURL(require.resolve(name)).href);
  return { PE: await load('pe-library'), ResEdit: await load('resedit') };
}

function arrayBufferOf(buffer) {
  return buffer.buffer.slice(buffer.byteOffset, buffer.byteOffset + buffer.byteLength);
}

function idOf(text) {
  const id = Number(text);
  if (!Number.isInteger(id) || id <= 0 || id > 0xffff) throw new Refusal(`not a resource number: ${text}`);
  return id;
}

function entriesOf(entries, type, id) {
  const found = entries.filter((e) => e.type === type && e.id === id);
  if (found.length === 0) throw new Refusal(`the program holds no resource ${id} of type ${type}`);
  return found;
}

function replaceBitmap(entries, [idText, file]) {
  const dib = arrayBufferOf(fs.readFileSync(file));
  for (const entry of entriesOf(entries, RT_BITMAP, idOf(idText))) entry.bin = dib;
}

function replaceIconGroup(ResEdit, entries, [idText, file]) {
  const id = idOf(idText);
  const icon = ResEdit.Data.IconFile.from(fs.readFileSync(file));
  if (icon.icons.length === 0) throw new Refusal(`${file} holds no icon images`);
  for (const group of entriesOf(entries, RT_GROUP_ICON, id)) {
    ResEdit.Resource.IconGroupEntry.replaceIconsForResource(
      entries,
      id,
      group.lang,
      icon.icons.map((item) => item.data),
    );
  }
}

function rewriteVersion(ResEdit, entries, version, strings) {
  const before = entries.filter((e) => e.type === RT_VERSION);
  if (before.length === 0) throw new Refusal('the program holds no version block');
  const codepages = new Map(before.map((e) => [`${e.id}/${e.lang}`, e.codepage]));
  for (const info of ResEdit.Resource.VersionInfo.fromEntries(entries)) {
    const languages = info.getAllLanguagesForStringValues();
    if (version) {
      const parts = version.split('.').map(Number);
      if (parts.length !== 4 || parts.some((p) => !Number.isInteger(p) || p < 0 || p > 0xffff)) {
        throw new Refusal(`not a version number A.B.C.D: ${version}`);
      }
      for (const language of languages) {
        info.setFileVersion(...parts, language.lang);
        info.setProductVersion(...parts, language.lang);
      }
    }
    for (const language of languages) {
      info.setStringValues(language, Object.fromEntries(strings));
    }
    info.outputToResourceEntries(entries);
  }
  // The data entries' code page field as it was: resedit writes the string
  // table's code page there, which nothing reads.
  for (const entry of entries.filter((e) => e.type === RT_VERSION)) {
    const codepage = codepages.get(`${entry.id}/${entry.lang}`);
    if (codepage !== undefined) entry.codepage = codepage;
  }
}

function resourceSectionOf(exe) {
  return exe.getSectionByEntry(RESOURCE_DIRECTORY);
}

async function main() {
  const args = parseArguments(process.argv.slice(2));
  const { PE, ResEdit } = await loadLibraries(args.modules);
  // A signed program's signature cannot survive the change: the copy is
  // written unsigned, for the signing that follows branding.
  const exe = PE.NtExecutable.from(fs.readFileSync(args.in), { ignoreCert: true });
  const resources = PE.NtExecutableResource.from(exe);
  const rawBefore = resourceSectionOf(exe)?.info.sizeOfRawData ?? 0;

  if (args.bitmap) replaceBitmap(resources.entries, args.bitmap);
  if (args['icon-group']) replaceIconGroup(ResEdit, resources.entries, args['icon-group']);
  if (args.version || args.strings.length > 0) {
    rewriteVersion(ResEdit, resources.entries, args.version, args.strings);
  }
  resources.outputResource(exe);

  // The resource section's new size in the header's count of initialised
  // data, which resedit leaves as it was.
  const section = resourceSectionOf(exe);
  if (section && (section.info.characteristics & SCN_INITIALIZED_DATA) !== 0) {
    exe.newHeader.optionalHeader.sizeOfInitializedData += section.info.sizeOfRawData - rawBefore;
  }
  const image = exe.generate();
  // The checksum always, also where the program's was 0.
  PE.calculateCheckSumForPE(image, true);
  fs.writeFileSync(args.out, Buffer.from(image));
}

main().catch((error) => {
  const why = error instanceof Refusal ? error.message : `${error?.message ?? error}`;
  process.stderr.write(`write-resources: ${why}\n`);
  process.exit(1);
});
