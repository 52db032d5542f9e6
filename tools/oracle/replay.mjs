#!/usr/bin/env node
// Kestrova chess oracle: replays every half-move of every game in the given
// PGN files with chess.js and writes one TSV line per half-move.
//
// Usage:
//   node replay.mjs [--out FILE] [--check] [FILE.pgn...]
//
//   Without files, the five sample files of the repository (tests/data/samples, found from this
//   script's own folder, in the order a, b, c, d, e) are replayed.
//
//   --out FILE   write the fixture to FILE (default: standard output)
//   --check      do not write; compare the generated text with FILE (--out)
//                and exit 1 if they differ
//
// Output (LF line ends, deterministic: no dates, no absolute paths):
//   line 1 : "# ..." header comment naming the columns and the chess.js version
//   per game: "#game<TAB>file<TAB>game<TAB>startfen"
//   per ply : file game ply san from to piece captured flags promotion fen
//             (tab-separated; "-" for no captured piece / no promotion)
//   a game chess.js cannot replay gets "#error<TAB>file<TAB>game<TAB>ply<TAB>message"
//   after the plies it did replay, and the script exits 1.
//
// Checks reported on standard error: the number of half-moves replayed per
// game is compared with the SAN tokens counted independently in the movetext
// and with the PlyCount tag; each SAN token (without !/? annotations) is
// compared with chess.js's SAN; a second, independent replay from the start
// FEN (move by from/to/promotion) must reproduce chess.js's SAN and FEN.

import { readFileSync, writeFileSync } from 'node:fs';
import { basename, dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { Chess, DEFAULT_POSITION } from 'chess.js';

const here = dirname(fileURLToPath(import.meta.url));
const SAMPLES = join(here, '..', '..', 'tests', 'data', 'samples');
const SAMPLE_FILES = ['a_roundrobin.pgn', 'b_gauntlet.pgn', 'c_swiss.pgn', 'd_match.pgn', 'e_setup.pgn'];
const CHESSJS_VERSION = JSON.parse(
  readFileSync(join(here, 'node_modules', 'chess.js', 'package.json'), 'utf8'),
).version;

const COLUMNS = ['file', 'game', 'ply', 'san', 'from', 'to', 'piece',
  'captured', 'flags', 'promotion', 'fen'];

// ---------------------------------------------------------------- arguments
function parseArgs(argv) {
  const opts = { out: null, check: false, files: [] };
  for (let i = 0; i < argv.length; i++) {
    const a = argv[i];
    if (a === '--out') opts.out = argv[++i];
    else if (a === '--check') opts.check = true;
    else if (a === '-h' || a === '--help') {
      process.stdout.write('usage: node replay.mjs [--out FILE] [--check] [FILE.pgn...]\n');
      process.exit(0);
    } else if (a.startsWith('--')) {
      die(`unknown option ${a}`);
    } else opts.files.push(a);
  }
  if (opts.files.length === 0) opts.files = SAMPLE_FILES.map((name) => join(SAMPLES, name));
  if (opts.check && !opts.out) die('--check needs --out FILE');
  return opts;
}

function die(msg) {
  process.stderr.write(`replay.mjs: ${msg}\n`);
  process.exit(2);
}

// ------------------------------------------------------------ PGN splitting
// Splits a PGN file into games. A game is its tag section followed by its
// movetext; a tag line that follows movetext starts the next game. Tag-like
// lines inside a {comment} are not taken as tags.
function splitGames(text) {
  const lines = text.replace(/^\uFEFF/, '').replace(/\r\n?/g, '\n').split('\n');
  const games = [];
  let cur = null;
  let inComment = false;
  const flush = () => {
    if (cur && (cur.tagLines.length || cur.moveLines.join('').trim() !== '')) games.push(cur);
    cur = null;
  };
  for (const line of lines) {
    if (!inComment && /^\s*\[/.test(line)) {
      if (cur && cur.moveLines.join('').trim() !== '') flush();
      if (!cur) cur = { tagLines: [], moveLines: [] };
      cur.tagLines.push(line);
      continue;
    }
    if (!cur) {
      if (line.trim() === '') continue;
      cur = { tagLines: [], moveLines: [] };
    }
    cur.moveLines.push(line);
    // track multi-line brace comments so a "[" inside one is not a tag
    for (const ch of line) {
      if (!inComment && ch === '{') inComment = true;
      else if (inComment && ch === '}') inComment = false;
    }
  }
  flush();
  return games.map((g) => ({
    headers: parseTags(g.tagLines),
    tagText: g.tagLines.join('\n'),
    movetext: g.moveLines.join('\n').trim(),
  }));
}

function parseTags(tagLines) {
  const headers = {};
  const re = /\[\s*([A-Za-z0-9_]+)\s+"((?:[^"\\]|\\.)*)"\s*\]/g;
  for (const line of tagLines) {
    let m;
    while ((m = re.exec(line)) !== null) {
      headers[m[1]] = m[2].replace(/\\(["\\])/g, '$1');
    }
  }
  return headers;
}

// Independent movetext tokenizer: drops comments, variations, NAGs, move
// numbers and the result, and returns the SAN tokens of the main line.
function sanTokens(movetext) {
  let s = movetext.replace(/\{[^}]*\}/gs, ' ').replace(/;[^\n]*/g, ' ');
  s = s.split('\n').filter((l) => !l.startsWith('%')).join('\n');
  // remove (possibly nested) variations
  let prev;
  do { prev = s; s = s.replace(/\([^()]*\)/g, ' '); } while (s !== prev);
  s = s.replace(/\$\d+/g, ' ');
  s = s.replace(/\d+\.(\.\.)?/g, ' ');
  return s.split(/\s+/).filter((t) => t !== '' && !/^(1-0|0-1|1\/2-1\/2|\*)$/.test(t));
}

const stripAnnotations = (san) => san.replace(/[!?]+$/, '');

// ------------------------------------------------------------------ replay
function replayGame(fileName, gameNo, game, out, problems) {
  const h = game.headers;
  const fenKey = Object.keys(h).find((k) => k.toLowerCase() === 'fen');
  const setupKey = Object.keys(h).find((k) => k.toLowerCase() === 'setup');
  let startFen = DEFAULT_POSITION;
  if (fenKey) {
    startFen = h[fenKey];
    if (!setupKey || h[setupKey] !== '1') {
      problems.push(`${fileName} game ${gameNo}: [FEN] without [SetUp "1"]; using the FEN as chess.js does`);
    }
  }
  out.push(['#game', fileName, gameNo, startFen].join('\t'));

  const tokens = sanTokens(game.movetext);
  let history = [];
  let loadError = null;
  try {
    const c = new Chess();
    c.loadPgn(game.tagText + '\n\n' + game.movetext + '\n');
    history = c.history({ verbose: true });
  } catch (e) {
    loadError = e.message;
  }

  // Fallback when loadPgn refuses the game: replay the independently
  // tokenized SAN moves one by one so that the failing ply is known.
  let errorPly = 0;
  if (loadError !== null) {
    history = [];
    const c = new Chess(startFen);
    for (let i = 0; i < tokens.length; i++) {
      try {
        c.move(stripAnnotations(tokens[i]));
      } catch (e) {
        errorPly = i + 1;
        loadError = `ply ${i + 1} "${tokens[i]}": ${e.message} (loadPgn: ${loadError})`;
        break;
      }
    }
    history = c.history({ verbose: true });
    if (errorPly === 0) {
      problems.push(`${fileName} game ${gameNo}: loadPgn failed (${loadError}) but move-by-move replay succeeded`);
      loadError = null;
    }
  }

  // Second, independent replay by from/to/promotion from the start FEN.
  const board = new Chess(startFen);
  if (board.fen() !== startFen) {
    problems.push(`${fileName} game ${gameNo}: start FEN normalised by chess.js to ${board.fen()}`);
  }
  history.forEach((m, i) => {
    const ply = i + 1;
    if (i === 0 && m.before !== board.fen()) {
      problems.push(`${fileName} game ${gameNo}: first move's before-FEN ${m.before} != start FEN ${board.fen()}`);
    }
    const r = board.move({ from: m.from, to: m.to, promotion: m.promotion });
    const fen = board.fen();
    if (r.san !== m.san || fen !== m.after) {
      problems.push(`${fileName} game ${gameNo} ply ${ply}: second replay differs (${r.san} ${fen} vs ${m.san} ${m.after})`);
    }
    if (i < tokens.length && stripAnnotations(tokens[i]) !== m.san) {
      problems.push(`${fileName} game ${gameNo} ply ${ply}: movetext token "${tokens[i]}" != chess.js SAN "${m.san}"`);
    }
    out.push([
      fileName, gameNo, ply, m.san, m.from, m.to, m.piece,
      m.captured ?? '-', m.flags, m.promotion ?? '-', m.after,
    ].join('\t'));
  });

  if (loadError !== null) {
    out.push(['#error', fileName, gameNo, errorPly, loadError.replace(/[\t\n]/g, ' ')].join('\t'));
    problems.push(`${fileName} game ${gameNo}: NOT REPLAYED: ${loadError}`);
  }

  // Ply count checks.
  const plies = history.length;
  if (loadError === null && plies !== tokens.length) {
    problems.push(`${fileName} game ${gameNo}: ${plies} plies replayed but ${tokens.length} SAN tokens in movetext`);
  }
  const plyCountKey = Object.keys(h).find((k) => k.toLowerCase() === 'plycount');
  let plyCountOk = null;
  if (plyCountKey) {
    plyCountOk = Number(h[plyCountKey]) === plies;
    if (!plyCountOk) {
      problems.push(`${fileName} game ${gameNo}: PlyCount ${h[plyCountKey]} but ${plies} plies replayed`);
    }
  }
  return { plies, tokens: tokens.length, failed: loadError !== null, plyCountOk,
    blackStarts: startFen.split(' ')[1] === 'b' };
}

// -------------------------------------------------------------------- main
function main() {
  const opts = parseArgs(process.argv.slice(2));
  const out = [`# Kestrova chess oracle, generated by tools/oracle/replay.mjs with chess.js ${CHESSJS_VERSION}; columns: ${COLUMNS.join('\t')}`];
  const problems = [];
  const summary = [];
  let anyFailed = false;

  for (const path of opts.files) {
    const fileName = basename(path);
    const games = splitGames(readFileSync(path, 'utf8'));
    let plies = 0; let failed = 0; let withPlyCount = 0; let plyCountOk = 0; let blackStarts = 0;
    games.forEach((g, i) => {
      const r = replayGame(fileName, i + 1, g, out, problems);
      plies += r.plies;
      if (r.failed) { failed++; anyFailed = true; }
      if (r.plyCountOk !== null) { withPlyCount++; if (r.plyCountOk) plyCountOk++; }
      if (r.blackStarts) blackStarts++;
    });
    summary.push({ fileName, games: games.length, plies, failed, withPlyCount, plyCountOk, blackStarts });
  }

  const text = out.join('\n') + '\n';

  const w = (s) => process.stderr.write(s + '\n');
  let tg = 0; let tp = 0;
  for (const s of summary) {
    tg += s.games; tp += s.plies;
    w(`${s.fileName}: ${s.games} games, ${s.plies} plies, ${s.failed} not replayed, ` +
      `PlyCount matches ${s.plyCountOk}/${s.withPlyCount}, ${s.blackStarts} start with Black to move`);
  }
  w(`total: ${tg} games, ${tp} plies, ${out.length} lines, ${Buffer.byteLength(text)} bytes`);
  if (problems.length) {
    w(`${problems.length} problem(s):`);
    for (const p of problems) w(`  ${p}`);
  } else {
    w('no problems: every game replayed; ply counts match movetext and PlyCount; SAN matches movetext');
  }

  if (opts.check) {
    let existing = null;
    try { existing = readFileSync(opts.out, 'utf8'); } catch { /* missing */ }
    if (existing !== text) {
      w(`check: ${opts.out} differs from the generated fixture`);
      anyFailed = true;
    } else {
      w(`check: ${opts.out} is up to date`);
    }
  } else if (opts.out) {
    writeFileSync(opts.out, text);
  } else {
    process.stdout.write(text);
  }
  // Not process.exit(): it would cut off what a pipe has not taken yet.
  process.exitCode = anyFailed ? 1 : 0;
}

main();
