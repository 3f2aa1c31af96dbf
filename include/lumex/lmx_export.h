/* Export macro and C linkage guards shared by every public Lumex header. */
#ifndef LUMEX_LMX_EXPORT_H
#define LUMEX_LMX_EXPORT_H

#if defined(__GNUC__) || defined(__clang__)
#define LMX_API __attribute__((visibility("default")))
#else
#define LMX_API
#endif

#ifdef __cplusplus
#define LMX_BEGIN_DECLS extern "C" {
#define LMX_END_DECLS }
#else
#define LMX_BEGIN_DECLS
#define LMX_END_DECLS
#endif

#endif
