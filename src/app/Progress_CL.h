// What a long run reports to whoever shows its progress: the window in the GUI, a terminal
// line in the command-line tool, a recorder in the tests. Counts are 64-bit.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

namespace lumicrate {

class Progress_CL {
public:
  virtual ~Progress_CL() = default;

  virtual void SetText(const std::string& text) = 0;
  virtual void SetTotal(std::int64_t n) = 0;
  virtual void AddTotal(std::int64_t n) = 0;
  virtual void SetPosition(std::int64_t n) = 0;
  virtual void AddPosition(std::int64_t n) = 0;
  virtual std::int64_t GetPosition() const = 0;
  virtual std::int64_t GetTotal() const = 0;

  // Optional: a run that moves data may also report its size, so that a display can show
  // bytes, rate and time left. Displays without such a readout ignore them.
  virtual void AddByteTotal(std::int64_t /*bytes*/) {}
  virtual void AddBytes(std::int64_t /*bytes*/) {}
};

// Keeps the counts; a derived class shows them in Refresh, which runs after every change of
// position (and after AddTotal), as the window refreshes its bar. Safe to call from any thread.
class CountingProgress_CL : public Progress_CL {
public:
  void SetText(const std::string& text) override;
  void SetTotal(std::int64_t n) override;
  void AddTotal(std::int64_t n) override;
  void SetPosition(std::int64_t n) override;
  void AddPosition(std::int64_t n) override;
  std::int64_t GetPosition() const override;
  std::int64_t GetTotal() const override;

  std::string Text() const;
  // The bar value of the window: position x 2000 / total, 0 while the total is 0.
  static int BarValue(std::int64_t position, std::int64_t total);

protected:
  virtual void Refresh(std::int64_t /*position*/, std::int64_t /*total*/) {}
  virtual void TextChanged(const std::string& /*text*/) {}

private:
  mutable std::mutex mutex_;
  std::string text_;
  std::int64_t total_ = 0;
  std::int64_t position_ = 0;
};

} // namespace lumicrate
