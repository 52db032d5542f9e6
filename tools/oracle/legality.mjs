// Writes random games played by chess.js, with notations no position of them allows, for the
// property test of the move decoder: every move played must be accepted, every refused notation
// refused. Deterministic (own seeded generator), so the fixture is the same on every run.
//
//   node legality.mjs [games] > ../../tests/data/oracle/legality.tsv
//
// One line per game: its half-moves separated by blanks; each is the notation played, then "|"
// and the notations of that position that chess.js refuses, separated by "|".
import { Chess } from 'chess.js';

let state = 20261207;
function random() {  // mulberry32
  state = (state + 0x6d2b79f5) | 0;
  let t = Math.imul(state ^ (state >>> 15), 1 | state);
  t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
  return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
}
const pick = (list) => list[Math.floor(random() * list.length)];
const files = 'abcdefgh';
const squares = [...files].flatMap((f) => [1, 2, 3, 4, 5, 6, 7, 8].map((r) => f + r));

function refused(chess, text) {
  try {
    chess.move(text, { strict: false });
    chess.undo();
    return false;
  } catch {
    return true;
  }
}

// The special moves are chosen often, so that a few games meet them all.
function choose(moves) {
  const special = moves.filter((m) => m.flags.match(/[kqep]/));
  if (special.length && random() < 0.7) return pick(special);
  const captures = moves.filter((m) => m.flags.includes('c'));
  if (captures.length && random() < 0.3) return pick(captures);
  return pick(moves);
}

// The notation of a legal move as engine-match files write it: SAN, sometimes long algebraic.
function written(move) {
  const r = random();
  const promotion = move.promotion ? move.promotion.toUpperCase() : '';
  const letter = move.piece === 'p' ? '' : move.piece.toUpperCase();
  if (r < 0.08) return letter + move.from + '-' + move.to + (promotion ? '=' + promotion : '');
  if (r < 0.16) return letter + move.from + move.to + promotion;
  if (r < 0.2 && move.san.includes('=')) return move.san.replace('=', '');
  return move.san;
}

// Notations close to legal ones that the position refuses.
function mutations(chess, moves) {
  const found = new Set();
  const legal = new Set(moves.map((m) => m.san.replace(/[+#]/g, '')));
  const tryText = (text) => {
    if (!legal.has(text) && !found.has(text) && refused(chess, text)) found.add(text);
  };
  for (let i = 0; i < 3; ++i) {
    const m = pick(moves);
    const san = m.san.replace(/[+#]/g, '');
    tryText(san.replace(/[a-h][1-8](=?[QRBN])?$/, pick(squares)));                 // another target
    if (!m.flags.includes('c') && m.piece !== 'p') tryText(san.replace(/([a-h][1-8])$/, 'x$1'));  // "x" onto empty
    if (m.promotion) tryText(san.replace(/=?[QRBN]$/, ''));                        // no promotion piece
  }
  for (const castle of ['O-O', 'O-O-O']) tryText(castle);
  // A pawn straight onto an occupied square, or two squares from elsewhere than its home row.
  const pawns = moves.filter((m) => m.piece === 'p' && !m.flags.includes('c'));
  if (pawns.length) {
    const m = pick(pawns);
    const step = chess.turn() === 'w' ? 1 : -1;
    const rank = Number(m.to[1]) + step;
    if (rank >= 1 && rank <= 8) tryText(m.to[0] + rank);
  }
  return [...found].slice(0, 4);
}

const games = Number(process.argv[2] ?? 60);
for (let g = 0; g < games; ++g) {
  const chess = new Chess();
  const plies = [];
  while (!chess.isGameOver() && plies.length < 160) {
    const moves = chess.moves({ verbose: true });
    const refusedTexts = mutations(chess, moves);
    const move = choose(moves);
    plies.push([written(move), ...refusedTexts].join('|'));
    chess.move(move);
  }
  console.log(plies.join(' '));
}
