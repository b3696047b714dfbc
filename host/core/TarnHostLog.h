#pragma once

#include <QLoggingCategory>

// Connection comings and goings; enable with QT_LOGGING_RULES="tarnhold.host.debug=true".
Q_DECLARE_LOGGING_CATEGORY(tarnHostLog)
