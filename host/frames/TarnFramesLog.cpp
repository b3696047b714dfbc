#include "host/frames/TarnFramesLog.h"

Q_LOGGING_CATEGORY(tarnFramesLog, "tarnhold.frames", QtWarningMsg)
