/* A C program that uses Heaptally through its header only. Exits 0 when
 * every check holds; argv[1] is where it writes its dump. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "heaptally.h"

static int failures = 0;

static void check(int ok, const char* what) {
  if (!ok) {
    fprintf(stderr, "c_client: %s\n", what);
    ++failures;
  }
}

static int file_contains(const char* path, const char* text) {
  char buffer[4096];
  size_t length;
  FILE* file = fopen(path, "r");
  if (file == NULL) {
    return 0;
  }
  length = fread(buffer, 1, sizeof buffer - 1, file);
  fclose(file);
  buffer[length] = '\0';
  return strstr(buffer, text) != NULL;
}

int main(int argc, char** argv) {
  char expected_line[512];
  char* text;
  void* plain;
  void* second;
  int second_line;

  if (argc != 2) {
    fprintf(stderr, "usage: c_client DUMP_PATH\n");
    return 2;
  }
  check(MEM_SIZE() == 0, "memSize is not 0 at start");

  text = (char*)MEM_ALLOC(1);
  second_line = __LINE__ + 1;
  second = MEM_ALLOC(5);
  check(text != NULL && second != NULL, "MEM_ALLOC failed");
  check(MEM_SIZE() == 58 + 62, "memSize after two blocks is not 120");
  check(MEM_ALLOC(-1) == NULL, "a negative size was not refused");

  MEM_DUMP(argv[1]);
  check(file_contains(argv[1], "summary size: 120, count: 2\n"), "dump totals wrong");
  snprintf(expected_line, sizeof expected_line, "62\t1\t62\t%s(%d)\n", __FILE__, second_line);
  check(file_contains(argv[1], expected_line), "dump lacks the line of the second block");

  MEM_FREE(text);
  MEM_FREE(NULL);
  plain = malloc(16);
  MEM_FREE(plain);
  check(MEM_SIZE() == 62, "memSize after a free is not 62");
  MEM_FREE(second);
  check(MEM_SIZE() == 0, "memSize is not 0 at the end");
  return failures == 0 ? 0 : 1;
}
