// kestrova-cli convert: reads an orbit document of any version and writes it as version 1.6,
// as the desktop program does when a user opens an old document and saves it.
#include <iostream>
#include <optional>

#include "app/cli.h"
#include "app/headless_host.h"
#include "app/progress_line.h"
#include "documents/orbit_document.h"
#include "scene/solar_system.h"
#include "streams/value_stream.h"

namespace kestrova::cli {

namespace {

constexpr const char* kHelp =
    "usage: kestrova-cli convert IN.orb OUT.orb\n"
    "\n"
    "Reads IN (version 1.0, 1.1, 1.5 or 1.6) and writes its whole state to OUT as version 1.6;\n"
    "IN is never changed. IN - reads standard input, OUT - writes standard output; a FIFO or\n"
    "a device as OUT is written in place, a file is replaced only once OUT is complete. The data "
    "file the document names is opened from its database alias\n"
    "(\"MPC\" is the folder MPC in the program folder); one that cannot be opened is\n"
    "reported on stderr and kept in OUT by its names, with \"Show all objects\" as IN had it.\n"
    "A document of version 1.0 or 1.1 takes its\n"
    "description from the .rtf file beside it. A document in real-time mode moves to the\n"
    "present moment, as it does when opened in the program.\n"
    "On a reading error the message goes to stderr, OUT is not created and the status is 1.\n";

// The document's bytes as they are read, told to a progress line.
class TProgressSource : public ByteSource {
 public:
  TProgressSource(ByteSource& source, TProgressLine& progress)
      : source_(source), progress_(progress), total_(source.Remaining().value_or(0)) {}
  size_t Read(uint8_t* data, size_t n) override {
    const size_t got = source_.Read(data, n);
    done_ += got;
    progress_.Show("reading", double(done_), double(total_), "B");
    return got;
  }
  std::optional<uint64_t> Remaining() const override { return source_.Remaining(); }

 private:
  ByteSource& source_;
  TProgressLine& progress_;
  uint64_t total_;
  uint64_t done_ = 0;
};

}  // namespace

int CmdConvert(const Args& options, std::istream& in, std::ostream& out, std::ostream& err) {
  if (WantsHelp(options)) {
    out << kHelp;
    return kOk;
  }
  const std::optional<Args> plain = PlainArguments("kestrova-cli convert", options, err);
  if (!plain || plain->size() != 2) {
    err << kHelp;
    return kBadInput;
  }
  const Args& args = *plain;
  TDocumentInput input(args[0], in);
  // The document brings its own date.
  THeadlessHost host(err);
  TSolarSystem& scene = host.Scene();
  // The conversion question is answered No: IN stays as it is.
  // On a terminal one line follows the reading of a large document.
  TProgressLine progress(err, TProgressLine::OnTerminal(err), "convert");
  TProgressSource source(input.Source(), progress);
  const TOpenResult result = OpenDocument(source, input.Name(), scene, host);
  progress.Finish();
  if (result.Version == TDocumentVersion::Unknown) {
    err << "File " << input.Name() << " is no orbit document.\n";
    return kFailure;
  }
  if (!result.Read) return kFailure;
  if (args[1] != "-") return WriteDocument(args[1], scene, host) ? kOk : kFailure;
  MemorySink sink;
  ValueWriter writer(sink);
  WriteDocumentValues(writer, scene, host);
  writer.Finish();
  out.write(reinterpret_cast<const char*>(sink.Bytes().data()),
            static_cast<std::streamsize>(sink.Bytes().size()));
  out.flush();
  return out ? kOk : kFailure;
}

}  // namespace kestrova::cli
