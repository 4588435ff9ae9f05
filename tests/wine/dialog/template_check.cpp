// Reads dialog 105 back from the built Vantrope.xfm the way Windows does (FindResourceExA in US English,
// LoadResource, LockResource) and hands its bytes to the shared comparison with the item table. Prints
// one line per mismatch and a summary; exits 1 on any mismatch, 2 when the module or the resource cannot
// be read. Runs under Wine; resource_check makes the same comparison natively from the file on disk.
#include <windows.h>
#include <cstdint>
#include <cstdio>
#include "template_compare.h"
#include "ui/dialog_template.h"

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: template_check PATH-OF-Vantrope.xfm\n");
        return 2;
    }
    HMODULE module = LoadLibraryExA(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = module ? FindResourceExA(module, MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(reviewDialogHeader.resourceId),
                                           reviewDialogHeader.language)
                         : nullptr;
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void *bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) {
        printf("FAILED: %s: no dialog %u in language %u (error %u)\n", argv[1], (unsigned)reviewDialogHeader.resourceId,
               (unsigned)reviewDialogHeader.language, (unsigned)GetLastError());
        return 2;
    }
    CheckCounts counts = compareDialogTemplate(static_cast<const uint8_t *>(bytes), (uint32_t)SizeofResource(module, found));
    printf("%d passed, %d failed\n", (int)counts.passed, (int)counts.failed);
    return counts.failed ? 1 : 0;
}
