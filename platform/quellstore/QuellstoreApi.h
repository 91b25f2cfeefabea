#ifndef KORVU_QUELLSTOREAPI_H
#define KORVU_QUELLSTOREAPI_H

// Users may build with hidden visibility; what this library offers stays
// visible to them.
#define QUELLSTORE_API __attribute__((visibility("default")))

#endif
