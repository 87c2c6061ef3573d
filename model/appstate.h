#pragma once
// The one application-wide state object: the target model (which decides block sizes, block sets and the
// number of user patches), the program's private clipboard, the device reader and writer, the grid switch.

#include <memory>
#include <string>

#include "model/document.h"
#include "model/targetmodel.h"
#include "textout/textout.h"

namespace QZML {

// Receives the target model's identifier bytes for the unit's MIDI ports (00 00 0B or 00 00 06).
// The MIDI layer implements it; the model layer only calls it, so it never depends on MIDI.
class IModelIdSink {
public:
  virtual ~IModelIdSink() = default;
  virtual void SetModelId(const unsigned char modelId[3]) = 0;
};

// Base of the device reader and writer, which later layers create and the application state owns.
// The model layer knows them only as owned objects to delete at exit.
class IPatchStream {
public:
  virtual ~IPatchStream() = default;
};

// Display name ("QZ-MAX", "QZ-5"), user patch count (200, 140) and the three model identifier bytes of a model.
const char* ModelName(EModel model);
int UserPatchCount(EModel model);
const unsigned char* ModelId(EModel model);
// The conversion direction and the question that bring data to a model.
EConversion ConversionTo(EModel model);
EQuestion ConversionQuestionTo(EModel model);

class CAppState {
public:
  static CAppState& Instance();

  EModel GetTargetModel() const { return m_targetModel; }
  const char* GetModelName() const { return ModelName(m_targetModel); }
  int GetUserPatchCount() const { return UserPatchCount(m_targetModel); }

  // Switches the target model. Quiet: nothing else happens, result 0 (the stored setting at start-up).
  // Otherwise the ports are given the model's identifier, the user is asked through the message-box output
  // whether to convert, and on Yes the clipboard is converted; the result is the direction applied
  // (CONVERT_NONE, CONVERT_TO_QZMAX, CONVERT_TO_QZ5), which the caller applies to every open document.
  // The model changes even when the answer is No. A value that is no model changes nothing.
  EConversion SetTargetModel(EModel model, bool quiet);
  void SetTargetModelQuiet(EModel model) { SetTargetModel(model, true); }

  // The patches last cut or copied, shared by every list window.
  CData& GetClipboard() { return m_clipboard; }

  // Grid lines in the patch lists: 0 off, anything else on.
  int GetGridSwitch() const { return m_gridSwitch; }
  void SetGridSwitch(int grid) { m_gridSwitch = grid; }

  // The device reader and writer, owned here once set. Get<T> answers null when none is set or it is no T.
  void SetReader(std::unique_ptr<IPatchStream> reader) { m_reader = std::move(reader); }
  void SetWriter(std::unique_ptr<IPatchStream> writer) { m_writer = std::move(writer); }
  template <class T>
  T* GetReader() const {
    return dynamic_cast<T*>(m_reader.get());
  }
  template <class T>
  T* GetWriter() const {
    return dynamic_cast<T*>(m_writer.get());
  }
  // Deletes the reader and writer (at exit, before the ports close).
  void DeleteReaderWriter() {
    m_reader.reset();
    m_writer.reset();
  }

  // Where questions are asked at once (the message-box output), where loads and saves that have no output
  // of their own leave their error code (the pending-error output), and where the unit's model identifier goes.
  // None is owned; each may be null (a question is then answered "no", an error goes nowhere, no port is told).
  void SetMessageBoxOutput(CZelTextOut* output) { m_messageBox = output; }
  CZelTextOut* GetMessageBoxOutput() const { return m_messageBox; }
  void SetErrorOutput(CZelTextOut* output) { m_errorOutput = output; }
  CZelTextOut* GetErrorOutput() const { return m_errorOutput; }
  void SetModelIdSink(IModelIdSink* sink) { m_modelIdSink = sink; }
  IModelIdSink* GetModelIdSink() const { return m_modelIdSink; }

  // Asks a Yes/No conversion question through the message-box output; true on Yes.
  bool AskConversion(EQuestion question) const;

  // Patches made for dataModel that are about to be used as toModel data (sent to the unit, exported,
  // pasted into a window of that model): nothing to do when the models agree; otherwise the conversion
  // question, and Yes converts patches (the caller's copy). False when the user said No.
  bool AdaptPatches(CPatchArray& patches, EModel dataModel, EModel toModel) const;

private:
  CAppState() = default;
  EModel m_targetModel = MODEL_QZMAX;
  CData m_clipboard;
  std::unique_ptr<IPatchStream> m_reader;
  std::unique_ptr<IPatchStream> m_writer;
  int m_gridSwitch = 0;
  CZelTextOut* m_messageBox = nullptr;
  CZelTextOut* m_errorOutput = nullptr;
  IModelIdSink* m_modelIdSink = nullptr;
};

// After the target model switched away from `previous`: when convert is set, data of another model than
// the new target is converted to it and follows the target from then on; otherwise data that followed
// the target keeps `previous` as its own model (its patches were made for that model and stay so).
void AdaptToModelSwitch(CData& data, EModel previous, bool convert);

// Switches the target model for the lifetime of a scope (tests, tools that work on one model).
class CTargetModelScope {
public:
  explicit CTargetModelScope(EModel model) : m_saved(CAppState::Instance().GetTargetModel()) {
    CAppState::Instance().SetTargetModelQuiet(model);
  }
  ~CTargetModelScope() { CAppState::Instance().SetTargetModelQuiet(m_saved); }
  CTargetModelScope(const CTargetModelScope&) = delete;
  CTargetModelScope& operator=(const CTargetModelScope&) = delete;

private:
  EModel m_saved;
};

} // namespace QZML
