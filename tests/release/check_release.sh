#!/usr/bin/env bash
# A shipped .exe (pei-x86-64 or pei-i386): that format, only Windows' own DLLs, ASLR and DEP, no
# symbols, link date or build path; its resources, version texts, icon and picture. Run here, in
# C locale and UTC.
#   check_release.sh EXE SOURCE_DIR FORMAT
set -euo pipefail
export LC_ALL=C TZ=UTC
fail() { echo "FAILED: $exe: $1"; exit 1; }
is() { [ "$2" = "$3" ] || fail "$1 '$2', want '$3'"; }
trap 'fail "line $LINENO: a tool failed"' ERR
exe=$1

headers=$(x86_64-w64-mingw32-objdump -p "$exe")
is "file format" "$(sed -n 's/.*file format //p' <<< "$headers")" "$3"
is imports "$(sed -n 's/^\s*DLL Name: //p' <<< "$headers" | tr a-z A-Z | sort | xargs)" \
    "GDI32.DLL KERNEL32.DLL MSVCRT.DLL USER32.DLL"
flags=$(awk '/^DllCharacteristics/ {print $2}' <<< "$headers")
wanted=$([ "$3" = pei-i386 ] && echo 0x140 || echo 0x160)  # DEP 0x100, ASLR 0x40 (0x20)
[ $((16#$flags & wanted)) -eq $((wanted)) ] || fail "DllCharacteristics 0x$flags lack $wanted"
is "link date" "$(sed -n 's/^Time\/Date\s*//p' <<< "$headers")" "Thu Jan  1 00:00:00 1970"
is symbols "$(x86_64-w64-mingw32-nm "$exe" 2> /dev/null; echo "nm's status $?")" "nm's status 0"
is "times the build path $2 is in it" "$(grep -c -F -a -- "$2" "$exe")" 0

# Resources as type:name:language: bitmap, icon, icon group and version in Portuguese (Brazil),
# the manifest (24) in English (US); it runs the program as the user who starts it, nothing else.
is resources "$(wrestool -l "$exe" | awk -F'[= ]' '{print $2 ":" $4 ":" $6}' | xargs)" \
    "2:106:1046 3:1:1046 14:101:1046 16:1:1046 24:1:1033"
is manifest "$(tr '\0\n' '\n ' < "$exe" | grep -a -o '<?xml.*</assembly>' | sed 's/> *</></g')" \
'<?xml version="1.0" encoding="UTF-8" standalone="yes"?><assembly xmlns="urn:schemas-'\
'microsoft-com:asm.v1" manifestVersion="1.0"><trustInfo xmlns="urn:schemas-microsoft-com:asm.v3">'\
'<security><requestedPrivileges><requestedExecutionLevel level="asInvoker" uiAccess="false"/>'\
'</requestedPrivileges></security></trustInfo></assembly>'

# What Explorer's Properties and Task Manager show: version 1.0.0.0 of an application for Windows
# NT, the block for Portuguese (Brazil) in code page 1252, and its strings, which the file holds
# in UTF-16 as Windows reads them: between the block's name and VarFileInfo, each key (a word of
# three letters or more, after the lengths' one or two characters) is followed by its value.
version() { wrestool -x --raw -t 16 "$exe"; }
is "fixed version information" "$(version | od -An -tx4 -j 40 -N 40 | xargs)" \
    "feef04bd 00010000 00010000 00000000 00010000 00000000 0000003f 00000000 00040004 00000001"
is translation "$(version | tail -c 4 | od -An -tx2 | xargs)" "0416 04e4"
is "version strings" "$(version | iconv -f UTF-16LE -t UTF-8 | tr '\0-\37' '\n' | awk '
    $0 == "" { next } key { print key ": " $0; key = ""; next } /^VarFileInfo$/ { block = 0 }
    block && /^[A-Za-z][A-Za-z][A-Za-z]+$/ { key = $0 } /^041604E4$/ { print "block " $0; block = 1 }
    ')" "block 041604E4
CompanyName: Corvane
FileDescription: Estimativa de espa"$'\xc3\xa7'"o em disco para grava"$'\xc3\xa7\xc3\xa3'\
"o de v"$'\xc3\xad'"deo
FileVersion: 1.0.0
InternalName: morvalen
OriginalFilename: morvalen.exe
ProductName: Corvane - Morvalen
ProductVersion: 1.0.0"

# The icon: one 48 x 48 image, 32 bits with alpha and a 1-bit mask (40 + 48*48*4 + 48*8 bytes);
# a green arrow pointing down (a shaft, then a head narrowing to its tip: five rows from under its
# round top) into a grey drive (from below its top to below its tip, half the icon wide), soft.
is icon "$(wrestool -x -t 14 "$exe" | icotool -l -; wrestool -l -t 3 "$exe" | grep -o 'size=[0-9]*'
    wrestool -x -t 14 "$exe" | convert ico:- txt:- | awk -F'[,:() ]+' '
    NR > 1 && $4 > $3 + 40 && $4 > $5 + 40 && $6 == 255 { green[$2]++ }
    NR > 1 && $6 > 0 && $6 < 255 { soft = " soft edges" }
    NR > 1 && $6 == 255 && ($3 - $5) ^ 2 < 256 && ($4 - $3) ^ 2 < 256 && $3 > 48 { grey[$2]++ }
    END { for (y = 0; y < 48; y++) {  # the arrow: the first rows of green, down to a gap
            if (green[y] && (top == "" || y == tip + 1)) { tip = y; if (top == "") top = y }
            if (grey[y]) { b = y; if (t == "") t = y; wide = grey[y] > wide ? grey[y] : wide } }
        for (k = 0; k <= 4; k++) w[k] = green[top + 1 + int(k * (tip - top - 1) / 4)]
        down = w[0] == w[1] && w[1] < w[2] && w[2] > w[3] && w[3] > w[4] && w[4]
        into = top < t && t < tip && tip < b && wide > 24
        print (down ? "arrow down" : "arrow " w[0] " " w[1] " " w[2] " " w[3] " " w[4]),
            (into ? "into a drive" : "green " top "-" tip " grey " t "-" b " " wide) soft }')" \
    $'--icon --index=1 --width=48 --height=48 --bit-depth=32 --palette-size=0\n'\
$'size=9640\narrow down into a drive soft edges'

# The picture, every pixel: the frame line (159 top and bottom, 156 at the sides), bottom band,
# rule and results frame (195), the panel (238) from y 61 to the stripe; the header's rows, and
# the stripe's, each of one colour; dark grey only in the logo's box (57-230, 28-61), the title's
# (274-389, 48-62) and the divider (252, 24-65); the header lightening steadily from 211 at y 1.
is picture "$(wrestool -x -t 2 -n 106 "$exe" | convert bmp:- -depth 8 rgb:- | od -An -tu1 -v -w3 |
    awk '{ x = (NR - 1) % 450; y = int((NR - 1) / 450); c = $1 "," $2 "," $3
        art = x >= 57 && x <= 230 && y >= 28 && y <= 61 ? "logo" : x >= 274 && x <= 389 &&
            y >= 48 && y <= 62 ? "title" : x == 252 && y >= 24 && y <= 65 ? "divider" : ""
        ruled = y >= 77 && y <= 79 && x >= 56 && x <= 391 || x >= 99 && x <= 349 &&
            y >= 229 && y <= 299 && !(x > 101 && x < 347 && y > 231 && y < 297) }
    y < 229 && $1 < 128 { dark[art == "" ? "elsewhere" : art]++ }
    x == 20 { uneven += y > 1 && y <= 61 && ($1 < last || $1 > last + 1); last = $1 }
    { off += c != (y == 0 || y == 359 ? "159,159,159" : x == 0 || x == 449 ? "156,156,156" : \
        y >= 354 ? "255,255,255" : ruled ? "195,195,195" : art != "" ? c : y > 60 && y < 347 ? \
        "238,238,238" : x > 1 ? row : c) }
    x == 1 { row = c; header = y == 1 ? c : header
        stripe = stripe (y == 347 || y == 350 || y == 353 ? " " c : "") }
    END { print "logo", !!dark["logo"], "title", !!dark["title"], "divider", dark["divider"] + 0,
        "elsewhere", dark["elsewhere"] + 0, "uneven", uneven, "off", off, "header", header,
        "stripe" stripe }')" "logo 1 title 1 divider 42 elsewhere 0 uneven 0 off 0 header \
211,211,211 stripe 165,199,89 138,192,52 152,169,127"
