// The vantrope host program (first cut).
#include <cstdio>
int main() { puts("vantrope"); return 0; }
