#include "platform/Component.h"

#include "platform/Classes.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <map>

namespace {

// Stream layout: the signature, then per component its name and its properties, each a name and
// a length-prefixed block of bytes. Numbers are little-endian.
constexpr char StateSignature[4] = {'B', 'R', 'C', 'S'};
constexpr std::uint32_t StateVersion = 1;
constexpr const char *SNotComponentState = "The stream holds no stored component data.";
constexpr const char *SDamagedComponentState = "The stored component data is damaged.";

bool sameName(const std::string &a, const std::string &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
}

void writeNumber(TStream &stream, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        const auto byte = static_cast<std::uint8_t>(value >> (8 * i));
        stream.WriteBuffer(&byte, 1);
    }
}

void writeText(TStream &stream, const std::string &text)
{
    writeNumber(stream, text.size(), 4);
    stream.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

// Reads over a stream that may be damaged: every length is checked against what is left, so a
// broken stream ends in an error rather than in a huge allocation.
class StateReader
{
public:
    explicit StateReader(TStream &stream) : stream_(stream) {}

    std::uint64_t number(int bytes)
    {
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            std::uint8_t byte = 0;
            if (stream_.Read(&byte, 1) != 1)
                throw EReadError(SDamagedComponentState);
            value |= std::uint64_t{byte} << (8 * i);
        }
        return value;
    }

    void bytes(TStream &destination, std::uint64_t count)
    {
        if (count > static_cast<std::uint64_t>(stream_.Size() - stream_.Position()))
            throw EReadError(SDamagedComponentState);
        if (count > 0)
            destination.CopyFrom(stream_, static_cast<std::int64_t>(count));
    }

    std::string text()
    {
        TStringStream buffer;
        bytes(buffer, number(4));
        return buffer.DataString();
    }

private:
    TStream &stream_;
};

// Writes each property that has data as it is defined.
class StateWriter : public TFiler
{
public:
    explicit StateWriter(TStream &stream) : stream_(stream) {}

    void DefineBinaryProperty(const std::string &name, TStreamProc, TStreamProc writeData, bool hasData) override
    {
        if (!hasData || !writeData)
            return;
        TMemoryStream data;
        writeData(data);
        properties_.emplace_back(name, std::move(data));
    }

    void flush()
    {
        writeNumber(stream_, properties_.size(), 4);
        for (auto &[name, data] : properties_) {
            writeText(stream_, name);
            writeNumber(stream_, static_cast<std::uint64_t>(data.Size()), 8);
            data.SaveToStream(stream_);
        }
        properties_.clear();
    }

private:
    TStream &stream_;
    std::vector<std::pair<std::string, TMemoryStream>> properties_;
};

// Learns which properties a component reads.
class PropertyReaders : public TFiler
{
public:
    void DefineBinaryProperty(const std::string &name, TStreamProc readData, TStreamProc, bool) override
    {
        readers_[name] = std::move(readData);
    }

    const TStreamProc *find(const std::string &name) const
    {
        const auto found = readers_.find(name);
        return found != readers_.end() && found->second ? &found->second : nullptr;
    }

private:
    std::map<std::string, TStreamProc> readers_;
};

} // namespace

TComponent::TComponent(TComponent *owner)
{
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    state_.Include(csDestroying);
    while (!freeNotifies_.empty()) {
        TComponent *other = freeNotifies_.back();
        unlink(other);
        other->unlink(this);
        other->Notification(this, opRemove);
    }
    for (TComponent *component : components_)
        component->owner_ = nullptr;
    if (owner_)
        owner_->RemoveComponent(this);
}

TComponent *TComponent::FindComponent(const std::string &name) const
{
    if (name.empty())
        return nullptr;
    for (TComponent *component : components_) {
        if (sameName(component->name_, name))
            return component;
    }
    return nullptr;
}

void TComponent::InsertComponent(TComponent *component)
{
    if (!component || component->owner_ == this)
        return;
    if (component->owner_)
        component->owner_->RemoveComponent(component);
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::RemoveComponent(TComponent *component)
{
    const auto found = std::find(components_.begin(), components_.end(), component);
    if (found == components_.end())
        return;
    components_.erase(found);
    component->owner_ = nullptr;
}

void TComponent::FreeNotification(TComponent *component)
{
    if (!component || component == this)
        return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
        freeNotifies_.push_back(component);
    if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
        component->freeNotifies_.end())
        component->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent *component)
{
    if (!component)
        return;
    unlink(component);
    component->unlink(this);
}

void TComponent::unlink(TComponent *component)
{
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component), freeNotifies_.end());
}

void TComponent::DefineProperties(TFiler &) {}

void TComponent::Notification(TComponent *, TOperation) {}

void TComponent::Loaded()
{
    state_.Exclude(csLoading);
}

void WriteComponentsState(TComponent &owner, TStream &stream)
{
    stream.WriteBuffer(StateSignature, sizeof StateSignature);
    writeNumber(stream, StateVersion, 4);
    writeNumber(stream, static_cast<std::uint64_t>(owner.ComponentCount()), 4);
    StateWriter writer(stream);
    for (int i = 0; i < owner.ComponentCount(); ++i) {
        TComponent *component = owner.Components(i);
        writeText(stream, component->Name());
        component->DefineProperties(writer);
        writer.flush();
    }
}

void ReadComponentsState(TComponent &owner, TStream &stream)
{
    char signature[sizeof StateSignature] = {};
    if (stream.Read(signature, sizeof signature) != sizeof signature ||
        !std::equal(std::begin(signature), std::end(signature), std::begin(StateSignature)))
        throw EReadError(SNotComponentState);
    StateReader reader(stream);
    if (reader.number(4) != StateVersion)
        throw EReadError(SNotComponentState);

    std::vector<TComponent *> loading;
    for (int i = 0; i < owner.ComponentCount(); ++i)
        loading.push_back(owner.Components(i));
    for (TComponent *component : loading)
        component->state_ = component->state_ + TComponentState{csLoading, csReading};
    try {
        const std::uint64_t componentCount = reader.number(4);
        for (std::uint64_t c = 0; c < componentCount; ++c) {
            TComponent *component = owner.FindComponent(reader.text());
            PropertyReaders readers;
            if (component)
                component->DefineProperties(readers);
            const std::uint64_t propertyCount = reader.number(4);
            for (std::uint64_t p = 0; p < propertyCount; ++p) {
                const std::string name = reader.text();
                TMemoryStream data;
                reader.bytes(data, reader.number(8));
                data.SetPosition(0);
                if (const TFiler::TStreamProc *read = readers.find(name))
                    (*read)(data);
            }
        }
    } catch (...) {
        // A half-read form comes back as built, closed rather than half loaded.
        for (TComponent *component : loading)
            component->state_ = component->state_ - TComponentState{csLoading, csReading};
        throw;
    }
    for (TComponent *component : loading)
        component->state_.Exclude(csReading);
    // Every component finishes loading even when one of them fails to.
    std::exception_ptr failure;
    for (TComponent *component : loading) {
        try {
            component->Loaded();
        } catch (...) {
            component->state_.Exclude(csLoading);
            if (!failure)
                failure = std::current_exception();
        }
    }
    if (failure)
        std::rethrow_exception(failure);
}
