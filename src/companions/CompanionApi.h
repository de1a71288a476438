#pragma once

// The C interface between the program and its companion libraries, which it loads at run time
// from its own folder. Plain C types only, so that the libraries stand on their own.

#ifdef __cplusplus
extern "C" {
#endif

// librec.so: the product strings by id, like a string table.
// Copies string `id` into `buffer` (at most size - 1 characters, then a terminating zero) and
// returns the number of characters copied; 0 when the table holds no such string.
typedef int (*LoadRecStringFn)(unsigned id, char* buffer, int size);
#define KESTRAVA_LOAD_REC_STRING "LoadRecString"

// librec.so: a named resource of a resource type ("ImgFlash" of type "jpeg"). The bytes stay
// owned by the library; null when there is no such resource.
typedef const void* (*FindRecResourceFn)(const char* name, const char* type, unsigned long* size);
#define KESTRAVA_FIND_REC_RESOURCE "FindRecResource"

// The product information handed to the about window; every field is a zero-terminated text.
typedef struct KestravaSoftInfo {
    const char* MakerName;
    const char* ProductName;
    const char* ProductText2;
    const char* Version;
    const char* HomePage;
    const char* EMail;
    const char* ProductText7;
    const char* AppPath;
} KestravaSoftInfo;

// libuse.so: shows the about window modally over the running application (a QApplication*)
// and returns when it is closed; the result is 1 when it was shown.
typedef int (*ShowAboutFormFn)(void* application, const KestravaSoftInfo* info);
#define KESTRAVA_SHOW_ABOUT_FORM "ShowAboutForm"

#ifdef __cplusplus
}
#endif
