#!/bin/sh
# Writes a copy of a UTF-8 source file in which every non-ASCII character is spelled as the octal
# escapes of its code page 932 bytes: cp932-escape.sh <source> <copy>
# For compilers without -fexec-charset=CP932 (clang): a narrow literal such as "てんみ" in the copy
# holds the same bytes as the original compiled by GCC with that flag. Octal escapes have at most
# three digits, so a following character never joins them; in comments they are harmless text.
set -eu
mkdir -p "$(dirname "$2")"
iconv -f UTF-8 -t CP932 "$1" |
    perl -pe 's/([\x81-\x9F\xE0-\xFC][\x40-\x7E\x80-\xFC]|[\x80-\xFF])/join("", map { sprintf("\\%03o", ord) } split(\/\/, $1))/ge' \
        >"$2.new"
mv "$2.new" "$2"
