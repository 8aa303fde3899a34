// Placeholder: the value stream is being written.
#include "documents/value_stream.h"
