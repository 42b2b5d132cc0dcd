#!/bin/sh
# Makes the data files of the corpus and what rk54 prints for them.
# The files start from `rk54 new` (and `rk54 import-csv` for the wide
# channels); everything the program cannot be asked to write is put in
# byte by byte, at the addresses of the image layout. Run it once, read the
# outputs against the layout, and commit both; the corpus test then holds
# every later build to them.
#
#   tests/corpus/make-corpus.sh build/bin/rk54 tests/corpus
set -eu
rk54=$1
out=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# put FILE ADDRESS HEX...: the bytes into the file from ADDRESS on.
put() {
    file=$1 address=$2
    shift 2
    for byte; do
        printf "\\$(printf %03o "0x$byte")" | dd of="$file" bs=1 seek="$address" conv=notrunc status=none
        address=$((address + 1))
    done
}

# text FILE ADDRESS TEXT: the characters of TEXT, one byte each.
text() {
    printf %s "$3" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

# bcd N DIGITS: N as DIGITS decimal digits, two to a byte, as put takes them.
bcd() {
    printf "%0$2d" "$1" | sed 's/../& /g'
}

sum() {
    od -An -tu1 -v -j "$2" -N "$3" "$1" | tr -s ' ' '\n' | awk '{ s += $1 } END { printf "%02x", s % 256 }'
}

# Both checksums, as an image the repeater sends has them.
checksums() {
    put "$1" 207 "$(sum "$1" 80 126)"
    put "$1" 1456 "$(sum "$1" 0 1456)"
}

"$rk54" new "$out/new-vhf.R54"
"$rk54" new --band uhf "$out/new-uhf.R54"

# The image of a repeater whose memory was never written: the new-image
# pattern, every channel used at 0 MHz.
f=$out/blank-image.R54
head -c 1986 /dev/zero >"$f"
put "$f" 0 5a
put "$f" 1985 5a
head -c 512 /dev/zero | tr '\000' '\001' | dd of="$f" bs=1 seek=1472 conv=notrunc status=none

# Every channel used with its own tones, levels and switches, every alpha
# tag, the signalling, the timers and the bytes no field covers.
f=$work/full.R54
cp "$out/new-vhf.R54" "$f"
text "$f" 72 HPD44001
put "$f" 22 55                                   # 'U'
put "$f" 23 99                                   # not used
put "$f" 80 6a a9                                # duplexer, beep, 1st LO upper, Acc; 2.5 kHz step
put "$f" 88 0a 14 1e 28 32 d6                    # timers; CW ID on, DTMF Tx, ANI TX On, DTMF/5-tone Rx
put "$f" 96 f8 f9 fa fb fc fd fe ff 00 01 02 03 04 05 06 07
put "$f" 123 3c 07 08 03 e8                      # dot 60 ms, every 1800 s, 1000 Hz
text "$f" 128 "DE HPD4400 RPT 1"
put "$f" 176 00 46 00 28 0c 01 02 03 04 05 0e 0a # 5-tone and ANI/ENI times and codes
put "$f" 188 01 02 0a 0f
put "$f" 196 09 00 0e 03
put "$f" 204 0b 01 05                            # ENI header; firmware 1.05
i=0
while [ $i -lt 16 ]; do
    r=$((208 + 48 * i))
    number=$(((i + 1) / 10 * 16 + (i + 1) % 10))
    if [ $((i % 2)) -eq 1 ]; then
        flags="7f ed f9 $(printf %02x $((0x80 | (i % 3) << 5)))" tones="a5 5a"
    else
        flags="00 10 00 $(printf %02x $(((i % 3) << 5)))" tones="80 01"
    fi
    put "$f" $r "$(printf %02x $number)"
    put "$f" $((r + 1)) $flags
    put "$f" $((r + 6)) $tones
    put "$f" $((r + 5)) "$(printf %02x $((i * 17)))"
    [ $i -eq 4 ] && put "$f" $((r + 1)) 80       # Tx inhibited
    rx=$((150000 + i * 1525))
    put "$f" $((r + 10)) $(bcd $rx 6) $(bcd $((rx + 4600)) 6)
    k=0
    while [ $k -lt 16 ]; do
        put "$f" $((r + 16 + k)) "$(printf %02x $(((k % 2) << 7 | (i * 7 + k * 3) % 104)))"
        put "$f" $((r + 32 + k)) "$(printf %02x $((((k + 1) % 2) << 7 | (i * 5 + k) % 48)))"
        k=$((k + 1))
    done
    i=$((i + 1))
done
t=0
while [ $t -lt 48 ]; do
    a=$((976 + 10 * t))
    if [ $((t % 7)) -eq 6 ]; then put "$f" $a ff ff; else put "$f" $a $(bcd $((t * 201)) 4); fi
    if [ $((t % 5)) -eq 4 ]; then text "$f" $((a + 2)) "%%%%%%%%"; else text "$f" $((a + 2)) "$(printf 'TAG %02d  ' $t)"; fi
    t=$((t + 1))
done
put "$f" 1460 77                                 # not used
checksums "$f"
"$rk54" resave "$f" "$out/full.R54"

# Wide channels of a US document inside the narrow-band ranges, through the
# program's own channel import.
printf 'Ch,Used,Rx Freq,Tx Freq,W/N\r\n1,yes,150.00000,155.00000,W\r\n2,yes,173.99500,169.00625,W\r\n3,yes,160.00000,164.60000,N\r\n16,yes,151.02500,151.02500,W\r\n' >"$work/wide.csv"
"$rk54" import-csv "$out/new-vhf.R54" "$work/wide.csv" "$work/wide.R54"
put "$work/wide.R54" 22 55
checksums "$work/wide.R54"
cp "$work/wide.R54" "$out/wide-usa.R54"

# Texts as a repeater or an old file may hold them: control bytes, DEL,
# bytes above ASCII, a UTF-8 name, zeros inside, quotes and backslashes,
# an alpha tag text that starts with the no-text mark.
f=$out/odd-texts.R54
cp "$out/new-vhf.R54" "$f"
put "$f" 22 45                                   # 'E'
put "$f" 72 41 42 7f 22 09 5c 20 20              # A B DEL " TAB \ and trailing spaces
put "$f" 112 5a c3 bc 72 69 63 68 00             # "Zürich" and a zero
put "$f" 128 64 65 00 72 70 74 2f 31 c3 a9 3c 71 74 68 3e 20
text "$f" 978 "%ABC    "
text "$f" 988 "ABC%%%%%"
put "$f" 998 41 42 00 00 00 00 00 00
put "$f" 1008 c3 a9 74 c3 a9 01 1f 7e
text "$f" 1018 'a"b\c/d '
checksums "$f"

# The highest and lowest values every kind of field can hold.
f=$out/boundaries.R54
cp "$out/new-vhf.R54" "$f"
put "$f" 1 ff 99 99 00 00 00 00 00 00 ff 00 ff 00 ff 00 00 ff 00 ff 99 00
put "$f" 24 00 00 00 00 00 00 00 01
put "$f" 32 ff 00 00 00 ff 00 ff 00 ff 00
put "$f" 62 00 ff 00 00 00 ff 00 ff 00 ff
text "$f" 72 99999999
put "$f" 80 ff ff 99 99 00 00 00 01 ff 00 ff 00 ff ff
put "$f" 96 80 7f ff
put "$f" 123 ff ff ff 00 00
text "$f" 128 "~~~~~~~~~~~~~~~~"
put "$f" 144 ff ff 00 00
put "$f" 176 ff ff 00 00 ff ff ff ff ff ff ff ff 0f 0f 0f 0f
put "$f" 196 00 00 00 00
put "$f" 204 ff ff ff
put "$f" 208 00 ff ff ff ff ff ff ff 00 00 99 99 99 00 00 00 ff
put "$f" 928 16 00 00 00 00 00 00 00 00 00 00 00 01 99 99 98
put "$f" 976 99 99
put "$f" 1446 00 00 5a 5a 5a 5a 5a 5a 5a 5a
checksums "$f"

# Bytes outside what the program writes: codes past the lists, both
# lockout bits, an accessory code of 3, hex digits above 15, BCD with
# nibbles that are no digits, a two-part firmware version with letters.
f=$out/odd-bytes.R54
cp "$out/new-vhf.R54" "$f"
put "$f" 6 ff ff                                 # RxAdjFreq[1] empty
put "$f" 22 ff
put "$f" 26 1f ff                                # TxAdjFreq[2] "1"
put "$f" 80 33                                   # accessory code 3
put "$f" 82 ff ff                                # IF empty
put "$f" 188 20 01 02 03
put "$f" 196 10 ff 0a 0b
put "$f" 205 1a 0b
put "$f" 218 45 f0 12 f1 23 45                   # channel 1: 45.012 and 12.345 MHz
put "$f" 258 f0                                  # channel 2: both lockout bits
put "$f" 260 60                                  # and CW ID code 3
put "$f" 272 7f
put "$f" 288 e8                                  # DCS past the list
put "$f" 304 7f                                  # channel 3 used; its number bits are not read
put "$f" 353 c0                                  # channel 4 Tx inhibited
put "$f" 976 ff 1f
put "$f" 986 12 ff
put "$f" 996 ab cd
checksums "$f"

# Longer than an image, markers and checksums spoilt: the first 1986
# bytes are the document all the same.
f=$out/long-file.R54
cp "$out/new-vhf.R54" "$f"
put "$f" 0 00
put "$f" 207 00
put "$f" 1456 00
put "$f" 1985 a5
head -c 14 /dev/zero | tr '\000' '\356' >>"$f"
# Shorter than an image, and a channel frequency with no digit: no document.
head -c 1985 "$out/new-vhf.R54" >"$out/short-file.R54"
f=$out/undecodable.R54
cp "$out/new-vhf.R54" "$f"
put "$f" $((208 + 48 * 5 + 10)) ff ff ff

for f in new-vhf new-uhf blank-image full wide-usa odd-texts boundaries odd-bytes; do
    "$rk54" decode "$out/$f.R54" >"$out/$f.json"
done
"$rk54" dump "$out/new-vhf.R54" >"$out/new-vhf.dump"
"$rk54" dump "$out/new-uhf.R54" >"$out/new-uhf.dump"
"$rk54" info "$out/full.R54" >"$out/full.info"
"$rk54" dump "$out/full.R54" >"$out/full.dump"
"$rk54" info "$out/wide-usa.R54" >"$out/wide-usa.info"
"$rk54" export-csv "$out/full.R54" >"$out/full.csv"
# diff ends with 1 when the documents differ.
"$rk54" diff "$out/new-vhf.R54" "$out/full.R54" >"$out/new-vhf-full.diff" || [ $? -eq 1 ]
"$rk54" diff "$out/new-vhf.R54" "$out/boundaries.R54" >"$out/new-vhf-boundaries.diff" || [ $? -eq 1 ]
