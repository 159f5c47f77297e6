/* A library that only carries a resource; the export gives the linker something to keep. */
__declspec(dllexport) int KelpResourceDllVersion(void) { return 1; }
