#pragma once

// How dates travel in JSON: ISO-8601 text on the local line, reference seconds on the data channel.
enum class TarnDateCoding {
  iso8601,          // "2026-12-09T21:45:00Z", whole seconds
  referenceSeconds, // a number of seconds since 2001-01-01T00:00:00Z, fraction kept
};
