#ifndef KORVU_KORVUCOMMONAPI_H
#define KORVU_KORVUCOMMONAPI_H

// Users may build with hidden visibility; what this library offers stays
// visible to them.
#define KORVU_COMMON_API __attribute__((visibility("default")))

#endif
