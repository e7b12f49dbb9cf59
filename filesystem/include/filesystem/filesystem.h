/* The engine's file-system library: read-only access to files found in an
 * ordered list of source folders.
 *
 * A relative name is looked up in each source folder in the order the folders
 * were added; the first folder holding the file wins. An absolute name is
 * opened as it is. Names may use "\" or "/" and may hold "." and ".."; on a
 * case-sensitive system each component matches an existing file or folder
 * without regard to case. Only regular files are found.
 *
 * The library keeps process-wide state guarded by a lock; handles are small
 * positive integers, 0 meaning "no file". */
#ifndef GRAVELMOOR_FILESYSTEM_H
#define GRAVELMOOR_FILESYSTEM_H

#ifdef __cplusplus
extern "C" {
#endif

/* Sets the library up with no source folders. Calling it again forgets the
 * sources; files that are open stay open. */
void FS_init(void);

/* Appends the folder `path` to the sources searched for relative names. The
 * three integers are reserved and should be 0. Returns 1 when the folder
 * exists and was added, 0 otherwise. */
int FS_add_source(const char* path, int reserved1, int reserved2, int reserved3);

/* Writes `src` to `dst` with "\" and "/" folded into "/", repeated separators
 * merged, "." components removed and ".." components folded into the one
 * before them; a trailing separator is dropped. `dst` needs room for
 * strlen(src) + 1 bytes (the result is never longer) and may be `src` itself.
 * A ".." that has nothing to fold stays at the start of a relative path and is
 * dropped after a root ("/" or a drive such as "C:"). A path that folds away
 * completely becomes ".". */
void FS_path_normalize(char* dst, const char* src);

/* Returns non-zero when `name` finds a regular file. */
int FS_exists(const char* name);

/* Opens the file that `path` finds for reading. `mode` 0 is reading, the only
 * mode there is; any other mode fails. Returns a non-zero handle, or 0 when
 * the file is not found, is no regular file or cannot be opened. */
int FS_open(const char* path, int mode);

/* Returns the length of the open file in bytes, or -1 for a handle that is
 * not open or a file longer than 2 GiB - 1. */
long FS_length(int handle);

/* Reads up to `count` bytes from the current position into `buffer`. Returns
 * the number read (0 at the end of the file), or -1 for a handle that is not
 * open, a negative count or a read error. */
long FS_read(int handle, void* buffer, long count);

/* Closes an open handle; any other value is ignored. */
void FS_close(int handle);

#ifdef __cplusplus
}
#endif

#endif
