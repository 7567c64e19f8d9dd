// SPDX-License-Identifier: GPL-3.0-or-later
// The floor that bench/cli_bench.py sets tinglan-query against: the least program that writes
// what `tinglan-query --each` writes for its standard input. It decodes the input as the tool
// does, in 64 KiB blocks, and answers each character from a direct index of every code unit's
// answer, made from the tool's --dump when it is built (cli_floor_answers.h). Errors are not
// reported, and the exit status is always 0.
#include <string.h>
#include <unistd.h>

#include "cli_floor_answers.h"

enum { kBlockSize = 64 * 1024, kOutputSize = 64 * 1024 };

static unsigned char input[kBlockSize];
static char output[kOutputSize + 64];
static char* out = output;

static void flush(void) {
    const char* next = output;
    while (next < out) {
        const ssize_t n = write(STDOUT_FILENO, next, (size_t)(out - next));
        if (n <= 0) _exit(0);
        next += n;
    }
    out = output;
}

// The state carried from one byte to the next, as the tool keeps it.
static int needed;                        // continuation bytes still to come
static unsigned low = 0x80, high = 0xBF;  // the range of the next continuation byte
static unsigned code_point;
static int pending_cr;      // a CR that may start a CR LF
static int in_invalid_run;  // one empty line per run of invalid bytes

static void answer(unsigned c) {
    in_invalid_run = 0;
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
        static const char hex[] = "0123456789ABCDEF";
        memcpy(out, "U+00", 4);
        out[4] = hex[c >> 4];
        out[5] = hex[c & 15];
        out += 6;
    } else if (c < 0x80) {
        *out++ = (char)c;
    } else if (c < 0x800) {
        out[0] = (char)(0xC0 | c >> 6);
        out[1] = (char)(0x80 | (c & 0x3F));
        out += 2;
    } else if (c < 0x10000) {
        out[0] = (char)(0xE0 | c >> 12);
        out[1] = (char)(0x80 | (c >> 6 & 0x3F));
        out[2] = (char)(0x80 | (c & 0x3F));
        out += 3;
    } else {
        out[0] = (char)(0xF0 | c >> 18);
        out[1] = (char)(0x80 | (c >> 12 & 0x3F));
        out[2] = (char)(0x80 | (c >> 6 & 0x3F));
        out[3] = (char)(0x80 | (c & 0x3F));
        out += 4;
        c = 0;  // held nowhere, like U+0000
    }
    // Each answer's tail ("\tkb\ta\n") fills a 16-byte slot whose last byte is its length.
    const char* tail = floor_answers[floor_answer_of[c]];
    memcpy(out, tail, 16);
    out += tail[15];
    if (out - output >= kOutputSize) flush();
}

static void invalid(void) {
    if (in_invalid_run) return;
    in_invalid_run = 1;
    *out++ = '\n';
    if (out - output >= kOutputSize) flush();
}

static void line_end(void) { in_invalid_run = 0; }

static void byte(unsigned b) {
    if (pending_cr) {
        pending_cr = 0;
        if (b == '\n') {
            line_end();
            return;
        }
        answer('\r');
    }
    if (needed > 0) {
        if (b >= low && b <= high) {
            code_point = code_point << 6 | (b & 0x3F);
            low = 0x80;
            high = 0xBF;
            if (--needed == 0) answer(code_point);
            return;
        }
        needed = 0;
        invalid();
    }
    low = 0x80;
    high = 0xBF;
    if (b == '\n') {
        line_end();
    } else if (b == '\r') {
        pending_cr = 1;
    } else if (b < 0x80) {
        answer(b);
    } else if (b >= 0xC2 && b <= 0xDF) {
        needed = 1;
        code_point = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        needed = 2;
        code_point = b & 0x0F;
        if (b == 0xE0) low = 0xA0;
        if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        needed = 3;
        code_point = b & 0x07;
        if (b == 0xF0) low = 0x90;
        if (b == 0xF4) high = 0x8F;
    } else {
        invalid();
    }
}

int main(void) {
    ssize_t n;
    while ((n = read(STDIN_FILENO, input, sizeof input)) > 0) {
        const unsigned char* next = input;
        const unsigned char* const end = input + n;
        while (next != end) {
            // Hanzi and other three-byte characters whole, where they lie within the block.
            const unsigned b = next[0];
            if (!needed && !pending_cr && b >= 0xE0 && b <= 0xEF && end - next >= 3 &&
                next[1] >= (b == 0xE0 ? 0xA0 : 0x80) && next[1] <= (b == 0xED ? 0x9F : 0xBF) &&
                (next[2] & 0xC0) == 0x80) {
                answer((b & 0x0F) << 12 | (next[1] & 0x3Fu) << 6 | (next[2] & 0x3Fu));
                next += 3;
            } else {
                byte(*next++);
            }
        }
    }
    if (!pending_cr && needed) invalid();
    flush();
    return 0;
}
