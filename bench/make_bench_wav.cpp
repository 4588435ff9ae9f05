// Writes the benchmark material as a 16-bit mono WAV file at 44.1 kHz, for timing whole programs on
// it: make_bench_wav OUT [SECONDS] [KIND], KIND one of namedMaterial's names (music, a click every
// half second, by default).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "bench_material.h"

static void put32(FILE *f, uint32_t v)
{
    unsigned char b[4] = {(unsigned char)v, (unsigned char)(v >> 8), (unsigned char)(v >> 16), (unsigned char)(v >> 24)};
    fwrite(b, 1, 4, f);
}

static void put16(FILE *f, uint16_t v)
{
    unsigned char b[2] = {(unsigned char)v, (unsigned char)(v >> 8)};
    fwrite(b, 1, 2, f);
}

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: make_bench_wav OUT [SECONDS] [%s]\n", materialNames());
        return 2;
    }
    uint32_t seconds = argc > 2 ? (uint32_t)atoi(argv[2]) : 80u;
    const char *kind = argc > 3 ? argv[3] : "music";
    uint32_t n = seconds * BENCH_RATE;
    std::vector<int16_t> x = namedMaterial(kind, n);
    if (x.empty()) {
        fprintf(stderr, "usage: make_bench_wav OUT [SECONDS] [%s]\n", materialNames());
        return 2;
    }
    FILE *f = fopen(argv[1], "wb");
    if (!f) {
        perror(argv[1]);
        return 1;
    }
    uint32_t bytes = n * 2u;
    fwrite("RIFF", 1, 4, f);
    put32(f, 36u + bytes);
    fwrite("WAVEfmt ", 1, 8, f);
    put32(f, 16);
    put16(f, 1); // PCM
    put16(f, 1); // mono
    put32(f, BENCH_RATE);
    put32(f, BENCH_RATE * 2u);
    put16(f, 2);
    put16(f, 16);
    fwrite("data", 1, 4, f);
    put32(f, bytes);
    for (int16_t s : x)
        put16(f, (uint16_t)s);
    return fclose(f) == 0 ? 0 : 1;
}
