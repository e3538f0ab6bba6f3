#pragma once
// The archive switch as an export sees it, and the pause that holds it off while an export
// reads the archive. The pause sets the switch back to what it was before, so an export
// never turns recording on for someone who had it off.
namespace zelmot::archive {

class ArchiveSwitch {
public:
  virtual ~ArchiveSwitch() = default;
  virtual bool enabled() const = 0;
  virtual void setEnabled(bool on) = 0;
};

// The switch of any archive with enabled() and setEnabled(bool): the measurement archive,
// or the program's archive tied to its tree node.
template <class Archive>
class ArchiveSwitchOf final : public ArchiveSwitch {
public:
  explicit ArchiveSwitchOf(Archive& archive) : archive_(archive) {}
  bool enabled() const override { return archive_.enabled(); }
  void setEnabled(bool on) override { archive_.setEnabled(on); }

private:
  Archive& archive_;
};

class ArchivePause {
public:
  explicit ArchivePause(ArchiveSwitch* archive)
      : archive_(archive), wasEnabled_(archive != nullptr && archive->enabled()) {
    if (archive_ != nullptr) archive_->setEnabled(false);
  }
  ~ArchivePause() {
    if (archive_ != nullptr) archive_->setEnabled(wasEnabled_);
  }
  ArchivePause(const ArchivePause&) = delete;
  ArchivePause& operator=(const ArchivePause&) = delete;

private:
  ArchiveSwitch* archive_;
  bool wasEnabled_;
};

}  // namespace zelmot::archive
