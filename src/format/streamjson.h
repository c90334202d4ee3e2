#pragma once

#include "componentstream.h"

#include <QByteArray>

// The object as indented JSON (UTF-8), keeping the property names and order of the stream:
// {"class": ..., "name": ..., "properties": {...}}. Collections become arrays of objects,
// lists arrays of values; identifiers and strings both become JSON strings.
QByteArray StreamToJson(const Stream::Object &object);
