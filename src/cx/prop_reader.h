// The properties file reader: a state machine over the bytes of the file
// that hands each key/value pair to a sink.
#pragma once

#include <cstdint>

#include "lumex/cx.h"

namespace cx {

// Where the reader's pairs and troubles go. Every hook receives `context`.
struct PropSink {
  void *context;
  // Stores one pair; false fails the read.
  bool (*store)(void *context, const char *key, const char *value);
  // A backslash in a value that begins no escape; `key` is the key so far.
  // May be null.
  void (*badEscape)(void *context, const char *key);
  // An open, read or close of the file failed. May be null.
  void (*platformError)(void *context, CxStatus status);
};

// The state machine, fed one byte at a time.
class PropParser {
 public:
  explicit PropParser(const PropSink &sink) : sink_(sink) {}
  ~PropParser();
  PropParser(const PropParser &) = delete;
  PropParser &operator=(const PropParser &) = delete;

  // One byte of the file; false once the read has failed.
  bool feed(unsigned char byte);
  // The end of the file: the pair being read (if any) is stored. True when
  // the whole read succeeded.
  bool finish();

 private:
  bool store();
  bool appendValue(unsigned char byte);
  bool appendCode(uint32_t code);
  bool flushSurrogate();

  PropSink sink_;
  CxStringBuff key_{};
  CxStringBuff value_{};
  uint32_t accumulator_ = 0;
  uint32_t highSurrogate_ = 0;  // a \u escape waiting for its low half
  unsigned char previous_ = 0;
  uint8_t state_ = 1;
};

// Opens the file read-only and runs the parser over it, one read per byte.
// True when the file was read without error.
bool readPropsFile(const char *path, const PropSink &sink);

}  // namespace cx
