// Only regular files are opened as the archive, the music or loose pictures and sounds: a pipe
// put under one of those names (which an ordinary open would wait on for ever) is refused at
// once and treated as no file at all.
#include <string>

#include "audio/audio_fixture.h"
#include "audio/sound_system.h"
#include "gfx/image_cache.h"
#include "res/resource_stream.h"

namespace {

class RegularFileTest : public AudioTest {};

TEST_F(RegularFileTest, APipeUnderAnyOfTheGamesFileNamesIsNoFile) {
  const std::string sound = waveBytes(pcmFormat(2, 22050, 16), std::string(8, '\1'));
  // A one-pixel 24-bit bitmap whose blue byte is 7.
  std::string picture(58, '\0');
  const uint8_t header[] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  40,
                            0,   0,   0,  1, 0, 0, 0, 1, 0, 0, 0,  1, 0, 24, 0};
  picture.replace(0, sizeof header, reinterpret_cast<const char*>(header), sizeof header);
  picture[54] = 7;
  useArchive({{"pop.wav", sound}, {"background.bmp", picture}});

  StuckPipe archivePipe(dir / "gyrotide.zap");
  StuckPipe musicPipe(dir / "music.zap");
  StuckPipe soundPipe(dir / "pop.wav");
  StuckPipe picturePipe(dir / "background.bmp");
  ASSERT_TRUE(archivePipe.made() && musicPipe.made() && soundPipe.made() && picturePipe.made());

  EXPECT_FALSE(ResourceArchive("gyrotide.zap").isOpen());
  // The music reads as a missing file does.
  ResourceStream music;
  music.openFile("music.zap");
  EXPECT_EQ(music.size(), 0xFFFFFFFFu);
  char byte = 0;
  EXPECT_EQ(music.read(&byte, 1), 0u);
  // The loose files give way to the archive's members.
  SoundSystem sounds(2, 22050);
  sounds.playMusic("music.zap");
  ASSERT_NE(sounds.getSound("pop.wav"), nullptr);
  EXPECT_EQ(sounds.getSound("pop.wav")->dataBytes, 8u);
  ImageCache cache;
  cache.setLooseFolder(dir.path());
  Image* background = cache.getImage("background.bmp");
  ASSERT_NE(background->pixels, nullptr);
  EXPECT_EQ(background->pixels[0], 7);

  EXPECT_FALSE(archivePipe.blockedSomeone());
  EXPECT_FALSE(musicPipe.blockedSomeone());
  EXPECT_FALSE(soundPipe.blockedSomeone());
  EXPECT_FALSE(picturePipe.blockedSomeone());
}

}  // namespace
