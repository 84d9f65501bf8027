#!/usr/bin/env bash
# Runs cmake/GlyphTable.cmake on malformed fonts (each must fail, naming the
# offending line, and write nothing) and on a small valid font (whose outputs
# must hold exactly the lit pixels it defines). Exits non-zero on any failure.
#   usage: glyph_table_generator_test.sh   (CMAKE=/path/to/cmake to override)
set -u

here=$(cd "$(dirname "$0")" && pwd)
script="$here/../../cmake/GlyphTable.cmake"
cmake_bin=${CMAKE:-cmake}
source "$here/shell_checks.sh"

generate() { # font inc rc -> exit status of the generator; stderr to $work/err
  "$cmake_bin" "-DFONT=$1" "-DOUT_INC=$2" "-DOUT_RC=$3" -P "$script" \
    >/dev/null 2>"$work/err"
}

A_ROWS=('.###.' '#...#' '#...#' '#...#' '#####' '#...#' '#...#' '.....')

# expect_rejected NAME LINE LINES... : the font made of LINES must be refused
# with an error that names LINE.
expect_rejected() {
  local name=$1 line=$2
  shift 2
  local dir="$work/$name"
  mkdir -p "$dir"
  printf '%s\n' "$@" >"$dir/font.txt"
  if generate "$dir/font.txt" "$dir/out.inc" "$dir/out.rc"; then
    fail "$name: generator accepted the font"
  elif ! grep -q "font.txt:$line:" "$work/err"; then
    fail "$name: error does not name line $line: $(tr '\n' ' ' <"$work/err")"
  elif [[ -e "$dir/out.inc" || -e "$dir/out.rc" ]]; then
    fail "$name: output written despite the error"
  else
    pass "$name"
  fi
}

expect_rejected header_one_digit 1 '0x4 A' "${A_ROWS[@]}"
expect_rejected header_three_digits 1 '0x041 A' "${A_ROWS[@]}"
expect_rejected header_without_prefix 1 '41 A' "${A_ROWS[@]}"
expect_rejected header_not_hex 1 '0xG1 A' "${A_ROWS[@]}"
expect_rejected header_tab_before_name 1 $'0x41\tA' "${A_ROWS[@]}"
expect_rejected seven_rows_then_blank 9 '0x41 A' "${A_ROWS[@]:0:7}" '' '0x42 B' "${A_ROWS[@]}"
expect_rejected seven_rows_then_header 9 '0x41 A' "${A_ROWS[@]:0:7}" '0x42 B' "${A_ROWS[@]}"
expect_rejected seven_rows_at_end 9 '# only seven' '0x41 A' "${A_ROWS[@]:0:7}"
expect_rejected header_at_end 2 '' '0x41 A'
expect_rejected nine_rows 10 '0x41 A' "${A_ROWS[@]}" '#...#'
expect_rejected row_too_narrow 4 '0x41 A' '.###.' '#...#' '#..#' '#...#' '#####' '#...#' '#...#' '.....'
expect_rejected row_too_wide 6 '0x41 A' '.###.' '#...#' '#...#' '#...#' '######' '#...#' '#...#' '.....'
expect_rejected row_other_character 3 '0x41 A' '.###.' '#.o.#' '#...#' '#...#' '#####' '#...#' '#...#' '.....'
expect_rejected row_with_space 8 '0x41 A' '.###.' '#...#' '#...#' '#...#' '#####' '#...#' '# ..#' '.....'
expect_rejected duplicate_code 11 '0x4a J' "${A_ROWS[@]}" '' '0x4A J again' "${A_ROWS[@]}"
expect_rejected code_ff 1 '0xFF block' "${A_ROWS[@]}"
expect_rejected stray_text 10 '0x41 A' "${A_ROWS[@]}" 'not a glyph'

if generate "$work/missing/font.txt" "$work/missing.inc" "$work/missing.rc"; then
  fail "missing_font: generator accepted a missing file"
else
  pass "missing_font"
fi

# A valid font exercising comments, blank lines, CRLF endings, lower-case hex,
# a name with list-special characters, and the first and last codes.
valid="$work/valid"
mkdir -p "$valid"
{
  printf '%s\n' '# comment; with [brackets' '' '0x00 first'
  printf '%s\n' '#....' '.....' '.....' '.....' '.....' '.....' '.....' '....#'
  printf '%s\r\n' '0x41 name ; [ \' '.....' '.....' '.#...' '.....' '.....' '.....' '.....' '.....'
  printf '%s\n' '' '0xfe last'
  printf '%s\n' '.....' '.....' '.....' '#.#.#' '.....' '.....' '.....' '.....'
} >"$valid/font.txt"
# Byte offsets: code*56 + row*7 + column.
expected_lit="0 53 $((0x41 * 56 + 2 * 7 + 1)) $((254 * 56 + 21)) $((254 * 56 + 23)) $((254 * 56 + 25))"

if ! generate "$valid/font.txt" "$valid/out.inc" "$valid/out.rc"; then
  fail "valid_font: generator refused it: $(tr '\n' ' ' <"$work/err")"
else
  pass "valid_font accepted"
  # Values of the .inc, one per line, comments and whitespace removed.
  sed -e 's://.*$::' "$valid/out.inc" | tr -d ' \t\r\n' | tr ',' '\n' | sed '/^$/d' \
    >"$valid/inc_bytes"
  count=$(wc -l <"$valid/inc_bytes")
  if [[ $count -eq 14280 ]]; then pass "inc has 14280 values"; else fail "inc has $count values"; fi
  if grep -qv '^[01]$' "$valid/inc_bytes"; then
    fail "inc holds values other than 0 and 1"
  else
    pass "inc values are 0 or 1"
  fi
  lit=$(awk '$0 == "1" { printf "%s%d", sep, NR - 1; sep = " " }' "$valid/inc_bytes")
  if [[ $lit == "$expected_lit" ]]; then
    pass "inc lights exactly the defined pixels"
  else
    fail "inc lit bytes are [$lit], expected [$expected_lit]"
  fi

  if grep -q '^203 Binary$' "$valid/out.rc" && grep -q '^BEGIN$' "$valid/out.rc" &&
     grep -q '^END$' "$valid/out.rc"; then
    pass "rc declares resource 203 of type Binary"
  else
    fail "rc lacks '203 Binary', BEGIN or END"
  fi
  # Each 16-bit word is little-endian: the low byte is the earlier pixel.
  sed -n '/^BEGIN$/,/^END$/p' "$valid/out.rc" | sed '1d;$d' | tr -d ' \t\r\n' |
    tr ',' '\n' | sed '/^$/d' | while read -r word || [[ -n $word ]]; do
      if [[ $word =~ ^0x[0-9A-Fa-f]{4}$ ]]; then
        printf '%d\n%d\n' $((word & 255)) $((word >> 8))
      else
        echo "bad word $word"
      fi
    done >"$valid/rc_bytes"
  if cmp -s "$valid/inc_bytes" "$valid/rc_bytes"; then
    pass "rc words carry the inc bytes little-endian"
  else
    fail "rc data differs from the inc ($(wc -l <"$valid/rc_bytes") bytes)"
  fi

  windres=$(command -v i686-w64-mingw32-windres || true)
  if [[ -z $windres ]]; then
    echo "SKIP: windres check (i686-w64-mingw32-windres not found)"
  elif ! "$windres" -O res -o "$valid/out.res" "$valid/out.rc" 2>"$work/err"; then
    fail "windres refused the rc: $(tr '\n' ' ' <"$work/err")"
  else
    # .res: an empty 32-byte entry, then DataSize (4 bytes LE), HeaderSize
    # (4 bytes LE), the rest of the header, then the data.
    read -r -a head < <(od -An -v -tu4 -j 32 -N 8 "$valid/out.res")
    data_size=${head[0]:-0}
    header_size=${head[1]:-0}
    od -An -v -tu1 -j $((32 + header_size)) -N 14280 "$valid/out.res" | tr -s ' ' '\n' |
      sed '/^$/d' >"$valid/res_bytes"
    if [[ $data_size -eq 14280 ]] && cmp -s "$valid/inc_bytes" "$valid/res_bytes"; then
      pass "windres resource holds the 14280 table bytes"
    else
      fail "windres resource has $data_size bytes or different contents"
    fi
  fi
fi

finish "glyph table generator"
