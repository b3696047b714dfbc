#include "platform/mdns/TarnMdnsLog.h"

Q_LOGGING_CATEGORY(tarnMdnsLog, "tarnhold.mdns", QtWarningMsg)
