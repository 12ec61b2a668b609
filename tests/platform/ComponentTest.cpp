#include "platform/Component.h"

#include "platform/Classes.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// Keeps one text as a stored property and notes what it hears.
struct Note : TComponent {
    explicit Note(TComponent *owner = nullptr, const std::string &name = {}) : TComponent(owner) { SetName(name); }

    void DefineProperties(TFiler &filer) override
    {
        filer.DefineBinaryProperty(
            "Text",
            [this](TStream &stream) {
                readWhileLoading = ComponentState().Contains(csLoading);
                TStringStream copy;
                copy.CopyFrom(stream, 0);
                text = copy.DataString();
            },
            [this](TStream &stream) { stream.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size())); },
            !text.empty());
    }

    void Notification(TComponent *component, TOperation operation) override
    {
        if (operation == opRemove)
            removed.push_back(component);
    }

    void Loaded() override
    {
        TComponent::Loaded();
        ++loadedCount;
    }

    std::string text;
    bool readWhileLoading = false;
    int loadedCount = 0;
    std::vector<TComponent *> removed;
};

} // namespace

TEST(Component, AnOwnerNamesItsComponentsWithoutFreeingThem)
{
    auto form = std::make_unique<TComponent>();
    Note first(form.get(), "Elso");
    Note second(nullptr, "Masodik");
    form->InsertComponent(&second);
    EXPECT_EQ(form->ComponentCount(), 2);
    EXPECT_EQ(form->FindComponent("ELSO"), &first);
    EXPECT_EQ(form->FindComponent(""), nullptr);
    {
        Note gone(form.get(), "Harmadik");
    }
    EXPECT_EQ(form->ComponentCount(), 2) << "a component that goes away leaves its owner";
    form.reset();
    EXPECT_EQ(first.Owner(), nullptr);
}

TEST(Component, BothSidesOfAFreeNotificationHearOfTheOther)
{
    Note watcher;
    {
        Note watched;
        watched.FreeNotification(&watcher);
        watched.FreeNotification(&watcher);
    }
    EXPECT_EQ(watcher.removed.size(), 1u);

    Note other;
    {
        Note shortLived;
        other.FreeNotification(&shortLived);
        other.RemoveFreeNotification(&shortLived);
    }
    EXPECT_TRUE(other.removed.empty());
}

TEST(Component, StoredPropertiesComeBackIntoComponentsOfTheSameName)
{
    TComponent written;
    Note a(&written, "A");
    Note b(&written, "B");
    Note empty(&written, "C");
    a.text = std::string("egy\0ketto", 9);
    b.text = "harom";
    TStringStream stream;
    WriteComponentsState(written, stream);

    TComponent read;
    Note readB(&read, "b");
    Note readA(&read, "A");
    Note readEmpty(&read, "C");
    readEmpty.text = "marad";
    stream.SetPosition(0);
    ReadComponentsState(read, stream);
    EXPECT_EQ(readA.text, a.text);
    EXPECT_EQ(readB.text, "harom");
    EXPECT_TRUE(readA.readWhileLoading);
    EXPECT_EQ(readEmpty.text, "marad") << "a property without data is not written";
    for (Note *note : {&readA, &readB, &readEmpty}) {
        EXPECT_EQ(note->loadedCount, 1);
        EXPECT_FALSE(note->ComponentState().Contains(csLoading));
    }

    const std::string whole = stream.DataString();
    for (const std::string &damaged : {std::string(), std::string("BRCS\2\0\0\0"), whole.substr(0, whole.size() - 3)}) {
        TStringStream in(damaged);
        EXPECT_THROW(ReadComponentsState(read, in), EReadError);
        EXPECT_FALSE(readA.ComponentState().Contains(csLoading));
    }
}
