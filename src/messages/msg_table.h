// The toolkit's own messages (catalog "lmxmsg", set 1), written once.
//
// Each row is X(key, Name, text). Keys 1 to 133 form the table; every key
// without a row holds the placeholder "unusedNNN", numbered from 000 in
// ascending key order. Every text of the table ends with a carriage return,
// which lmx::msgText adds. No call site writes a bare key: use MsgKey.
#pragma once

#include <cstdint>

#define LMX_MESSAGE_TABLE(X)                                                                       \
  X(1, NoListeners, "LMXLG01E No listeners are registered with the logger %s.")                   \
  X(2, CatalogNotOpened, "LMXBC02E The message catalog file %s could not be opened.")              \
  X(3, CatalogMsgNotFound,                                                                         \
    "LMXBC03E The message with set index %1$d and key index %2$d was not found in the message "   \
    "catalog %3$s.")                                                                               \
  X(10, BasError, "LMXBC0010E The following BAS error occurred: %s")                               \
  X(20, OutOfMemory, "LMXBC0020E Out of memory.")                                                  \
  X(30, PropertyValueMissing, "LMXBC0030E A value must be specified for the property '%s' .")      \
  X(31, PropertyTooLong, "LMXBC0031E Property '%1$s' must be %2$d characters or less.")            \
  X(32, BadFilePath,                                                                               \
    "LMXFH0032E Property '%1$s' must be a valid file path for this platform, but value '%2$s' "   \
    "was given.")                                                                                  \
  X(33, NullArgument,                                                                              \
    "LMXBC0033E ANULLvalue for parameter %1$s was passed to the function %2$s. The function "     \
    "call will be ignored.")                                                                       \
  X(34, NegativeArgument,                                                                          \
    "LMX0034E A negative value for parameter %1$s was passed to the function %2$s. The function " \
    "call will be ignored.")                                                                       \
  X(35, NoHostName,                                                                                \
    "LMXLG0035E A logger of class %s could not get the host name. The host name will not be "     \
    "logged.")                                                                                     \
  X(36, CodeSetNotLoaded,                                                                          \
    "LMXFH0036W Could not load codeset %s. Logged text will be stored in UTF-8 encoding instead.") \
  X(40, NoDirectoryList, "LMXFH0040E Unable to get directory list for the file: %s")               \
  X(50, ToolkitInitFailed, "LMXTK0050W Failed to initialize the Lumex toolkit.")                   \
  X(51, PropertiesUnreadable, "LMX0051E The log manager could not read the properties file %s.")   \
  X(52, BadPropertyEscape,                                                                         \
    "LMX0052E The value of property '%s' in the properties file could not be parsed, because it " \
    "contains a backslash character that is not part of a valid escape sequence.")                \
  X(60, CorruptObject, "LMXBC0060W The object named '%s' is corrupt.")                             \
  X(61, WrongObjectClass,                                                                          \
    "LMXBC0061W Object '%1$s' exists but is of class '%2$s' instead of '%3$s' .")                  \
  X(62, ClassUndefined,                                                                            \
    "LMXBC0062W Class '%1$s' must be defined before object '%2$s' can be created.")                \
  X(63, ClassMissing, "LMXBC0063W A class must be specified before object '%1$s' can be created.") \
  X(70, ParmListNotEnded, "LMXBC0070W The logging method parameter list did not end with a NULL.") \
  X(71, ParmListNoTypes, "LMXBC0071W The logging method's parameter list is missing type markers.") \
  X(72, RolloverReadFailed,                                                                        \
    "LMXMP0072W Could not read the active log file %1s during log file rollover.")                 \
  X(73, RolloverWriteFailed,                                                                       \
    "LMXMP0073W Could not write to the backup log file %1s during log file rollover.")             \
  X(74, BadPermissionMask,                                                                         \
    "LMXMP0074W The value %1s is not a valid file permission mask for file handler %2s. Please "  \
    "specify a four-digit octal value (with a leading zero).")                                    \
  X(75, ChmodFailed,                                                                               \
    "LMXMP0075W Could not set file %1s to permission mode %2o. The system error code is %3d.")     \
  X(100, DescBasicLogger, "Logger for basic messages")                                             \
  X(101, DescPDLogger, "Logger for messages with detailed problem data")                           \
  X(110, DescLevelFilter, "Filters messages by level")                                             \
  X(120, DescConsoleHandler, "Handles output to the console")                                      \
  X(121, DescFileHandler, "Handles output to local log files")                                     \
  X(130, DescBasicFormatter, "Formats a basic message summary.")                                   \
  X(131, DescXMLFormatter, "Formats all message data as an XML record.")                          \
  X(132, DescSyslogHandler, "Handles output to the system's log collector")                        \
  X(133, SyslogRecordsDropped,                                                                     \
    "LMXSL0133W The syslog handler dropped %d records while its collector could not be reached.")

namespace lmx {

enum class MsgKey : int32_t {
  // Platform failures and other free texts travel under key 0.
  None = 0,
#define LMX_MSG_KEY(key, name, text) name = key,
  LMX_MESSAGE_TABLE(LMX_MSG_KEY)
#undef LMX_MSG_KEY
};

constexpr int32_t kMsgTableSize = 133;
constexpr const char *kToolkitCatalog = "lmxmsg";
constexpr int32_t kToolkitSet = 1;

// The table's text for a key (1 to 133), carriage return included; null
// for any other key.
const char *msgText(int32_t key);
inline const char *msgText(MsgKey key) { return msgText(static_cast<int32_t>(key)); }

}  // namespace lmx
