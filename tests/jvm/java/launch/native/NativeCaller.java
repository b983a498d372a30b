import java.lang.foreign.FunctionDescriptor;
import java.lang.foreign.Linker;
import java.lang.foreign.ValueLayout;

// Makes a restricted call, which warns unless native access is enabled.
public class NativeCaller {
    public static void main(String[] args) {
        Linker linker = Linker.nativeLinker();
        linker.downcallHandle(linker.defaultLookup().find("strlen").orElseThrow(),
                FunctionDescriptor.of(ValueLayout.JAVA_LONG, ValueLayout.ADDRESS));
        System.err.println("native call prepared");
    }
}
