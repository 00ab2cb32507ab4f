/* The driver's event log: a bounded ring of what happened (requests with
 * effects, right-button touches), each with a sequence number that is never
 * reused, so a reader can ask for everything since the last number it saw. */
#ifndef KV_EVENT_LOG_H
#define KV_EVENT_LOG_H

#include <stdint.h>

#include "sim/driver/core/kvsim_protocol.h"

#ifdef __cplusplus
extern "C" {
#endif

#define KVL_CAPACITY 256

typedef struct KvEventLog {
    uint32_t next_sequence; /* starts at 1 */
    uint32_t count;         /* entries held, at most KVL_CAPACITY */
    KvSimLogEntry entries[KVL_CAPACITY];
} KvEventLog;

void kvl_init(KvEventLog* log);
/* Forgets the entries; numbering goes on. */
void kvl_clear(KvEventLog* log);
/* Appends one entry (the oldest goes when full); args beyond nargs are 0. */
void kvl_add(KvEventLog* log, uint32_t time_ms, uint32_t kind, uint32_t code, const int32_t* args,
             uint32_t nargs);
uint32_t kvl_oldest(const KvEventLog* log);
/* Copies up to max entries with Sequence >= since, oldest first, to out
 * (which may be unaligned); fills the header. */
void kvl_read(const KvEventLog* log, uint32_t since, void* out, uint32_t max, KvSimLogHeader* header);

#ifdef __cplusplus
}
#endif

#endif
