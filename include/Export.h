#ifndef KORVU_IPIF_EXPORT_H
#define KORVU_IPIF_EXPORT_H

// The module is built with hidden visibility; only what a CIM server or a
// peer library links against is marked for export.
#define IPIF_EXPORT __attribute__((visibility("default")))

#endif
