/* snappy's configuration for this program's MinGW builds. */
#define HAVE_WINDOWS_H 1
#define HAVE_STDINT_H 1
#define HAVE_STDDEF_H 1
#define HAVE_BUILTIN_EXPECT 1
#define HAVE_BUILTIN_CTZ 1
#define PACKAGE "snappy"
#define VERSION "1.1.4"
