#include "sim/driver/core/event_log.h"

#include <string.h>

void kvl_init(KvEventLog* log) {
    memset(log, 0, sizeof *log);
    log->next_sequence = 1;
}

void kvl_clear(KvEventLog* log) { log->count = 0; }

static KvSimLogEntry* slot(KvEventLog* log, uint32_t sequence) {
    return &log->entries[(sequence - 1) % KVL_CAPACITY];
}

void kvl_add(KvEventLog* log, uint32_t time_ms, uint32_t kind, uint32_t code, const int32_t* args,
             uint32_t nargs) {
    KvSimLogEntry* e = slot(log, log->next_sequence);
    memset(e, 0, sizeof *e);
    e->Sequence = log->next_sequence;
    e->TimeMs = time_ms;
    e->Kind = kind;
    e->Code = code;
    for (uint32_t i = 0; i < nargs && i < 8; ++i) e->Args[i] = args[i];
    log->next_sequence++;
    if (log->count < KVL_CAPACITY) log->count++;
}

uint32_t kvl_oldest(const KvEventLog* log) { return log->next_sequence - log->count; }

void kvl_read(const KvEventLog* log, uint32_t since, void* out, uint32_t max, KvSimLogHeader* header) {
    uint32_t first = kvl_oldest(log);
    if (since > first) first = since;
    uint32_t available = first < log->next_sequence ? log->next_sequence - first : 0;
    uint32_t n = available < max ? available : max;
    for (uint32_t i = 0; i < n; ++i) {
        const KvSimLogEntry* e = &log->entries[(first + i - 1) % KVL_CAPACITY];
        memcpy((uint8_t*)out + (uint64_t)i * sizeof *e, e, sizeof *e);
    }
    header->NextSequence = log->next_sequence;
    header->OldestSequence = kvl_oldest(log);
    header->Count = n;
    header->More = available > n ? 1u : 0u;
}
