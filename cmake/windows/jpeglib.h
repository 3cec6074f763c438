/* Included by JUCE's JPEG loader inside its own namespace. On Windows the system headers already
   declare ::boolean, so the library's header leaves its typedef out and the loader cannot find
   the name in its namespace: bring the global one in. */
#include_next <jpeglib.h>
using ::boolean;
