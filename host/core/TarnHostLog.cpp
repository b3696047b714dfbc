#include "host/core/TarnHostLog.h"

Q_LOGGING_CATEGORY(tarnHostLog, "tarnhold.host", QtWarningMsg)
