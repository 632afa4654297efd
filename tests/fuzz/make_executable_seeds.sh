#!/usr/bin/env bash
# Makes the smallest executables that hold resources, the seeds of the executable fuzzer and the
# fixtures of tests/tool/executable_reader_test.cpp: ELF (64 and 32 bits), with a resource image
# and its note as the library's builds write them, and PE32+ and PE32, with a resource section
# from windres. Each holds CUSTOM 101 ("hello, world" and CR LF) and RCDATA GREETING ("Hi"), in
# Japanese. Needs gcc (with 32-bit support), MinGW-w64 and its windres.
set -euo pipefail
out="$(cd "$(dirname "$0")" && pwd)/executable_corpus"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
printf 'hello, world\r\n' >words.txt
cat >tiny.rc <<'RC'
LANGUAGE 0x11, 0x1
101 CUSTOM "words.txt"
Greeting RCDATA { "Hi" }
RC
x86_64-w64-mingw32-windres -O res tiny.rc -o tiny.res
# The image's directory: its entries' offsets in directory order (CUSTOM, a name, before RCDATA,
# a number), after the empty entry that starts the file.
u32() { od -An -tu4 -j "$1" -N4 tiny.res | tr -d ' '; }
custom=32
greeting=$((custom + $(u32 $((custom + 4))) + ($(u32 $custom) + 3) / 4 * 4))
cat >elf.S <<ASM
  .globl _start
  .text
_start:
  ret
  .section .rodata.img,"a",%progbits
  .balign 4
img:
  .incbin "tiny.res"
img_end:
  .balign 4
directory:
  .long $custom, $greeting
origin:
  .asciz "tiny"
  .section .note.bxres,"a",%note
  .balign 4
  .long 6, 28, 0x42785253
  .asciz "BxRes"
  .balign 4
  .long img - .
  .long img_end - img
  .long origin - .
  .long directory - .
  .long 2
  .long 0, 0
ASM
flags=(-nostdlib -static -s -Wl,-n -Wl,--build-id=none)
gcc "${flags[@]}" elf.S -o "$out/elf64"
gcc -m32 "${flags[@]}" elf.S -o "$out/elf32"
echo 'void start(void) {}' >pe.c
pe_flags=(-nostdlib -s -Wl,--file-alignment,16 -Wl,--section-alignment,16 -Wl,--no-insert-timestamp)
x86_64-w64-mingw32-windres -O coff tiny.rc -o rc64.o
x86_64-w64-mingw32-gcc "${pe_flags[@]}" -e start pe.c rc64.o -o "$out/pe32plus.exe"
i686-w64-mingw32-windres -O coff tiny.rc -o rc32.o
i686-w64-mingw32-gcc "${pe_flags[@]}" -e _start pe.c rc32.o -o "$out/pe32.exe"
