// Orbit documents (".orb"): the whole working state as one value stream. Version 1.6 is
// written; versions 1.6, 1.5 and 1.0/1.1 are read.
//
// Version 1.6 and 1.5: the magic string, the scene block (current or 1.5 form), then the main
// window's values (show all objects, real time, time step and unit, monitor shown and its body,
// description colour and shown, database and table name of the data file) and the description
// block. Version 1.0/1.1: no magic, the scene block in its 1.0 form, the window geometry among
// the values, no real time, and the description in a separate ".rtf" file.
#pragma once

#include <string>

#include "documents/document_host.h"

namespace kestrova {

class ByteSource;
class TSolarSystem;
class ValueTrace;

inline constexpr const char* kMagic16 = "kv v1.6";
inline constexpr const char* kMagic15 = "kv v1.5";

enum class TDocumentVersion { V10, V15, V16, Unknown };

// The version of the document at path: its first value, without leading and trailing blanks
// and control characters, is the magic string of 1.5 or 1.6; a first value that is no string
// (or no value at all, as in an empty file) marks 1.0; any other string is Unknown. Raises
// EKestrovaError ("Cannot open file ...") when the file cannot be opened.
TDocumentVersion DetectDocumentVersion(const std::string& path);
// The same from the source's first value (which it consumes). A first string that does not
// end within the first 64 KB is taken as a value that cannot be read (version 1.0, whose
// reader then fails at once).
TDocumentVersion DetectDocumentVersion(ByteSource& source);

struct TOpenResult {
  TDocumentVersion Version = TDocumentVersion::Unknown;
  // The reader went through to the end (false for Unknown, where nothing is read).
  bool Read = false;
};

// Detects the version and reads the document. After an old version was read completely it
// asks whether to convert the file and, on Yes, writes it back as version 1.6. After a failed
// reading the question is not asked: a Yes would write the partly read state over the old
// file. A document of unknown version is left alone without a message and changes nothing.
// Raises EKestrovaError when the file cannot be opened (nothing is read then); a failure of
// the conversion's writing raises its own error.
// The file is opened and read once: the version is found from its first bytes, which are then
// read again by the version's reader, so a FIFO works as well as a file.
TOpenResult OpenDocument(const std::string& path, TSolarSystem& scene, TDocumentHost& host);
// The same for a document that comes from a stream (standard input); path names it in
// messages, becomes the document path, is where a conversion writes, and beside it an old
// document's description file is looked for. A trace, when given, is told of every value the
// version's reader reads (the first value's detection aside).
TOpenResult OpenDocument(ByteSource& source, const std::string& path, TSolarSystem& scene,
                         TDocumentHost& host, ValueTrace* trace = nullptr);

// The readers. Each applies every value as soon as it is read; a failure (a value of the
// wrong kind, the end of the file, ...) stops the reading at that value, keeps what was
// applied and shows "Error reading file <path>." through the host. A named data file that
// cannot be opened or read is no such failure: "Cannot open data file <table>: <reason>" is
// shown, the names are kept and "Show all objects" is released (see TDocumentState). Only a
// complete reading shows the date and takes path as the document path; UpdateControls runs in any
// case. They return whether the reading was complete. A file that does not start with the reader's
// own magic string reads nothing more.
bool ReadDocumentV16(const std::string& path, TSolarSystem& scene, TDocumentHost& host);
bool ReadDocumentV15(const std::string& path, TSolarSystem& scene, TDocumentHost& host);
bool ReadDocumentV10(const std::string& path, TSolarSystem& scene, TDocumentHost& host);
// The readers over a source that stands at the document's first byte; path as above. A trace,
// when given, is told of every value read.
bool ReadDocumentV16(ByteSource& source, const std::string& path, TSolarSystem& scene,
                     TDocumentHost& host, ValueTrace* trace = nullptr);
bool ReadDocumentV15(ByteSource& source, const std::string& path, TSolarSystem& scene,
                     TDocumentHost& host, ValueTrace* trace = nullptr);
bool ReadDocumentV10(ByteSource& source, const std::string& path, TSolarSystem& scene,
                     TDocumentHost& host, ValueTrace* trace = nullptr);

// Writes the state as version 1.6. The document goes to a temporary file in the same folder,
// which replaces the old file only once everything is written and on disk, so a failure never
// destroys the previous document (a full disk at exit would otherwise lose last.orb). A link
// is followed and the file it names replaced; the old file's permissions are kept. A character
// device or a FIFO is written in place (a rename would put a regular file where it stood). A
// file that cannot be created (a folder, a block device, an existing file that may not be
// written) shows "Could not create file <path>." through the host and returns false; any other
// failure raises its error, with the old file untouched and no temporary file left.
bool WriteDocument(const std::string& path, const TSolarSystem& scene, TDocumentHost& host);

// The values of a version 1.6 document, through a writer the caller finishes.
void WriteDocumentValues(ValueWriter& writer, const TSolarSystem& scene, TDocumentHost& host);

}  // namespace kestrova
