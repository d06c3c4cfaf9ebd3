package android.graphics;

import java.awt.image.BufferedImage;
import java.io.IOException;
import java.io.OutputStream;
import javax.imageio.ImageIO;

// Stand-in over a host image, so the PNG bytes are real.
public final class Bitmap {
    public enum Config { ALPHA_8, RGB_565, ARGB_4444, ARGB_8888 }
    public enum CompressFormat { JPEG, PNG, WEBP }

    final BufferedImage image;
    private boolean recycled;

    private Bitmap(int width, int height) {
        image = new BufferedImage(width, height, BufferedImage.TYPE_INT_ARGB);
    }

    public static Bitmap createBitmap(int width, int height, Config config) {
        if (width <= 0 || height <= 0)
            throw new IllegalArgumentException("width and height must be > 0");
        if (config != Config.ARGB_8888)
            throw new IllegalArgumentException("the stand-in draws ARGB_8888 only");
        return new Bitmap(width, height);
    }

    public boolean compress(CompressFormat format, int quality, OutputStream stream) {
        if (recycled)
            throw new IllegalStateException("Can't compress a recycled bitmap");
        try {
            return ImageIO.write(image, format == CompressFormat.PNG ? "png" : "jpeg", stream);
        } catch (IOException e) {
            return false;
        }
    }

    public void recycle() {
        recycled = true;
    }
}
