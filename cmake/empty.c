/* Placeholder translation unit for a library whose folder has no sources yet. */
typedef int kv_empty_translation_unit;
