package android.content;

public abstract class Context {
    public abstract android.content.pm.PackageManager getPackageManager();
}
