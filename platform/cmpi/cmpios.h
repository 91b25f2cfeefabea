#ifndef CMPIOS_H
#define CMPIOS_H

/* Platform types that the CMPI function tables use on POSIX systems. */

#include <pthread.h>
#include <stddef.h>
#include <time.h>

#define CMPI_THREAD_RETURN void *
#define CMPI_THREAD_TYPE void *
#define CMPI_THREAD_FUNCTION(name) CMPI_THREAD_RETURN name(void *parm)
#define CMPI_MUTEX_TYPE void *
#define CMPI_COND_TYPE void *
#define CMPI_THREAD_CDECL
#define CMPI_THREAD_KEY_TYPE pthread_key_t

#ifdef __cplusplus
#define CMPI_EXTERN_C extern "C"
#else
#define CMPI_EXTERN_C
#endif

#endif
